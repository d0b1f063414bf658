#include "framework/db/ADODataSet.h"

#include <algorithm>

#include "framework/db/DbError.h"
#include "framework/db/SqlText.h"

namespace db {

TCustomADODataSet::~TCustomADODataSet() {
  SetConnection(nullptr);
}

void TCustomADODataSet::SetConnection(TADOConnection* connection) {
  if (connection == FConnection) return;
  Close();
  if (FConnection) std::erase(FConnection->FDataSets, this);
  FConnection = connection;
  if (FConnection) FConnection->FDataSets.push_back(this);
}

TADOConnection& TCustomADODataSet::CheckedConnection() const {
  if (!FConnection) DatabaseError("Missing Connection or ConnectionString");
  // Opening a dataset connects its connection, as the record-set library does.
  FConnection->Open();
  return *FConnection;
}

void TCustomADODataSet::WriteRow(const TRecordSet& result, const TRow& oldRow, const TRow& newRow,
                                 const std::vector<int>& changed) {
  try {
    CheckedConnection().UpdateRow(result, oldRow, newRow, changed);
  } catch (const EDatabaseError& e) {
    DatabaseError(e.what());
  }
}

void TADOQuery::SetSQL(const std::u16string& text) {
  Close();
  FSQL = text;
  FParameters.Refresh(ParameterNames(text));
}

TRecordSet TADOQuery::OpenRecordSet() {
  return CheckedConnection().Query(FSQL, FParameters);
}

int TADOQuery::ExecSQL() {
  return CheckedConnection().Command(FSQL, FParameters);
}

void TADOTable::SetTableName(const std::string& name) {
  Close();
  FTableName = name;
}

TRecordSet TADOTable::OpenRecordSet() {
  std::u16string sql = u"select * from \"";
  for (char16_t c : ToUtf16(FTableName)) {
    sql += c;
    if (c == u'"') sql += u'"';
  }
  return CheckedConnection().Query(sql + u"\"", TParameters());
}

}  // namespace db
