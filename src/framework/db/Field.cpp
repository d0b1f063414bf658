#include "framework/db/Field.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "framework/db/DataSet.h"
#include "framework/db/DbError.h"

namespace db {

namespace {

// The engine's largest value; a larger file could never be stored.
constexpr std::int64_t kMaxBlobBytes = 1'000'000'000;

[[noreturn]] void CannotOpen(const std::string& fileName, int error) {
  throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(error));
}

TBytes ReadWholeFile(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) CannotOpen(fileName, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) CannotOpen(fileName, errno);
  if (S_ISDIR(st.st_mode)) CannotOpen(fileName, EISDIR);
  if (!S_ISREG(st.st_mode)) CannotOpen(fileName, EINVAL);
  if (st.st_size > kMaxBlobBytes) CannotOpen(fileName, EFBIG);
  TBytes bytes(std::size_t(st.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) CannotOpen(fileName, errno);
    if (n == 0) break;  // the file shrank while being read
    done += std::size_t(n);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace

TField::TField(fw::TComponent* owner, TFieldType type) : TComponent(owner), FDataType(type) {}

TField::~TField() {
  if (FDataSet) FDataSet->RemoveDeclaredField(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == FDataSet) return;
  if ((FDataSet && FDataSet->Active()) || (dataSet && dataSet->Active()))
    (dataSet ? dataSet : FDataSet)
        ->DatabaseError("Cannot perform this operation on an open dataset");
  if (FDataSet) FDataSet->RemoveDeclaredField(this);
  if (dataSet) dataSet->AddDeclaredField(this);
}

TVariant TField::Value() const {
  if (!FDataSet || FColumn < 0) return {};
  return FDataSet->ColumnValue(FColumn);
}

std::int64_t TField::AsInteger() const {
  const TVariant v = Value();
  return v.IsNull() ? 0 : v.ToInteger();
}

void TField::SetValue(const TVariant& value) {
  if (!FDataSet) throw EDatabaseError("Field '" + FFieldName + "' has no dataset");
  FDataSet->SetFieldValue(*this, value);
}

void TBlobField::LoadFromFile(const std::string& fileName) {
  if (!DataSet()) throw EDatabaseError("Field '" + FieldName() + "' has no dataset");
  if (DataSet()->State() != TDataSetState::dsEdit)
    DataSet()->DatabaseError("Dataset not in edit or insert mode");
  SetValue(TVariant(ReadWholeFile(fileName)));
}

}  // namespace db
