// Makes the data-aware controls (TDataSource, TDBGrid, TDBImage) known to window descriptions
// and to the window dump. Call once before reading a description that names them; later calls
// do nothing.
#pragma once

namespace fw {

void RegisterDataControls();

}  // namespace fw
