// The database connection: a provider string naming an SQLite file (docs/data-access.md),
// opened with its password checked and the Russian collation registered.
#pragma once

#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/db/Parameters.h"
#include "framework/db/RecordSet.h"
#include "framework/db/Sqlite.h"

namespace db {

class TCustomADODataSet;

// Sharing and access modes. cmRead opens the file read-only; every other mode opens it for
// reading and writing, shared with other connections and processes.
enum class TConnectMode {
  cmUnknown,
  cmRead,
  cmWrite,
  cmReadWrite,
  cmShareDenyRead,
  cmShareDenyWrite,
  cmShareExclusive,
  cmShareDenyNone,
};

// The provider the connection strings name.
inline constexpr std::u16string_view kJetProvider = u"Microsoft.Jet.OLEDB.4.0";

class TADOConnection : public fw::TComponent {
 public:
  explicit TADOConnection(fw::TComponent* owner);
  ~TADOConnection() override;

  std::string ClassName() const override { return "TADOConnection"; }

  // "Provider=...;User ID=...;Data Source=<file>;Persist Security Info=...;
  // Jet OLEDB:Database Password=<password>"; other keys are kept and ignored. Only while
  // disconnected.
  const std::u16string& ConnectionString() const { return FConnectionString; }
  void SetConnectionString(const std::u16string& text);
  // Whether to ask for a log-in before connecting; this layer has no dialog and never asks,
  // the password comes from the connection string.
  bool LoginPrompt() const { return FLoginPrompt; }
  void SetLoginPrompt(bool prompt) { FLoginPrompt = prompt; }
  TConnectMode Mode() const { return FMode; }
  void SetMode(TConnectMode mode) { FMode = mode; }

  // Connecting opens the file named by Data Source: a missing file raises "Could not find
  // file '<name>'.", a wrong password "Not a valid password.". Disconnecting closes every
  // dataset of the connection.
  // A Jet 4.0 file (JetSource.h) is read whole into memory, without its password checked, and
  // the connection is read-only: writing raises an error that names the conversion.
  bool Connected() const { return static_cast<bool>(FHandle); }
  // Why the connection cannot write (empty when it can).
  const std::string& ReadOnlyReason() const { return FReadOnlyReason; }
  void SetConnected(bool connected);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }

  // Runs SQL without a result (several statements allowed), unchanged.
  void Execute(std::u16string_view sql);
  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();

  // Runs one statement with parameters bound by name and returns its whole result.
  TRecordSet Query(std::u16string_view sql, const TParameters& params);
  // Runs one statement with parameters, unchanged; returns the number of rows it changed.
  int Command(std::u16string_view sql, const TParameters& params);
  // Writes the given columns of one row of a result back to its base table, by its primary
  // key; raises EDatabaseError when the result has no key or mixes tables.
  void UpdateRow(const TRecordSet& result, const TRow& oldRow, const TRow& newRow,
                 const std::vector<int>& changed);

 private:
  friend class TCustomADODataSet;
  sqlite3* CheckedHandle() const;
  SqliteStatement PrepareBound(std::u16string_view sql, const TParameters& params);

  std::u16string FConnectionString;
  bool FLoginPrompt = true;
  TConnectMode FMode = TConnectMode::cmUnknown;
  SqliteHandle FHandle;
  std::string FReadOnlyReason;
  std::vector<TCustomADODataSet*> FDataSets;
};

// Creates a new, empty database file with a password (none when empty); an existing file of
// that name raises EDatabaseError.
void CreateDatabase(const std::string& fileName, std::u16string_view password);

}  // namespace db
