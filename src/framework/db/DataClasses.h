// The data-access classes as window descriptions name them: the connection, the query and the
// table with their settings, parameters and declared fields. A form or data module that holds
// them calls RegisterDataClasses before reading its description.
#pragma once

namespace db {

// Registers TADOConnection, TADOQuery, TADOTable and the field classes (once; later calls do
// nothing).
void RegisterDataClasses();

}  // namespace db
