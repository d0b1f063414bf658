#include "app/Configuration.h"

#include <clocale>
#include <cstring>
#include <filesystem>

#include "app/DatabasePassword.h"
#include "framework/db/Variant.h"

namespace app {

namespace {
std::string gOverride;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return exe.parent_path().string() + "/";
}

std::string CatalogueFolder() {
  return gOverride.empty() ? ExecutableFolder() : gOverride;
}

void OverrideCatalogueFolder(const std::string& folder) {
  gOverride = folder.empty() || folder.ends_with('/') ? folder : folder + "/";
}

std::string ResourceFolder(const std::string& programFolder) {
  return programFolder + "/res/";
}

void ChooseDateFormat() {
  const char* locale = std::setlocale(LC_TIME, nullptr);
  const bool none = !locale || std::strcmp(locale, "POSIX") == 0 ||
                    (locale[0] == 'C' && (locale[1] == '\0' || locale[1] == '.'));
  db::SetShortDateFormat(none ? "%d.%m.%Y" : "");
}

std::u16string CatalogueConnectionString(const std::string& programFolder) {
  return u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" +
         db::ToUtf16(programFolder) +
         u"res.dat;Persist Security Info=False;Jet OLEDB:Database Password=" + kDatabasePassword;
}

}  // namespace app
