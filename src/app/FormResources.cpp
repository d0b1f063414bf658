#include "app/FormResources.h"

namespace app {

// Defined in the source tools/embed-forms generates.
extern const fw::TEmbeddedFile acFormFiles[];
extern const int acFormFileCount;

std::span<const fw::TEmbeddedFile> FormFiles() {
  return {acFormFiles, std::size_t(acFormFileCount)};
}

}  // namespace app
