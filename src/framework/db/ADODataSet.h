// Datasets on a connection: a query (SQL text with parameters) and a table.
#pragma once

#include <string>

#include "framework/db/ADOConnection.h"
#include "framework/db/DataSet.h"
#include "framework/db/Parameters.h"

namespace db {

class TCustomADODataSet : public TDataSet {
 public:
  explicit TCustomADODataSet(fw::TComponent* owner) : TDataSet(owner) {}
  ~TCustomADODataSet() override;

  // The connection the dataset runs on; a connection that goes away leaves it without one.
  TADOConnection* Connection() const { return FConnection; }
  void SetConnection(TADOConnection* connection);

 protected:
  // The connection, raising "<Name>: Missing Connection or ConnectionString" if none.
  TADOConnection& CheckedConnection() const;
  void WriteRow(const TRecordSet& result, const TRow& oldRow, const TRow& newRow,
                const std::vector<int>& changed) override;

 private:
  friend class TADOConnection;
  TADOConnection* FConnection = nullptr;
};

class TADOQuery : public TCustomADODataSet {
 public:
  explicit TADOQuery(fw::TComponent* owner) : TCustomADODataSet(owner) {}
  std::string ClassName() const override { return "TADOQuery"; }

  // The SQL text (lines joined with line breaks). Setting it closes the query and makes the
  // parameter list that of the text's ":name" markers, keeping declarations of known names.
  const std::u16string& SQL() const { return FSQL; }
  void SetSQL(const std::u16string& text);
  TParameters& Parameters() { return FParameters; }
  const TParameters& Parameters() const { return FParameters; }

  // Runs a statement without a result; returns the number of rows it changed.
  int ExecSQL();

 protected:
  TRecordSet OpenRecordSet() override;

 private:
  std::u16string FSQL;
  TParameters FParameters;
};

class TADOTable : public TCustomADODataSet {
 public:
  explicit TADOTable(fw::TComponent* owner) : TCustomADODataSet(owner) {}
  std::string ClassName() const override { return "TADOTable"; }

  // The table the dataset shows in full. Only while closed.
  const std::string& TableName() const { return FTableName; }
  void SetTableName(const std::string& name);

 protected:
  TRecordSet OpenRecordSet() override;

 private:
  std::string FTableName;
};

}  // namespace db
