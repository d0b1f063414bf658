#include "framework/Exception.h"

#include "framework/TextConv.h"

namespace fw {

Exception::Exception(const std::u16string& message)
    : std::runtime_error(Utf16ToUtf8(message)), FMessage(message) {}

std::u16string InnermostMessage(const std::exception& e) {
  try {
    std::rethrow_if_nested(e);
  } catch (const std::exception& inner) {
    return InnermostMessage(inner);
  } catch (...) {
  }
  if (auto* fe = dynamic_cast<const Exception*>(&e)) return fe->Message();
  return Utf8ToUtf16(e.what());
}

}  // namespace fw
