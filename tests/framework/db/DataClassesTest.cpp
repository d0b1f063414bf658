// Data-access components read from a window description: settings, parameters, declared
// fields, and the errors a wrong value gives.
#include <gtest/gtest.h>

#include "framework/DataModule.h"
#include "framework/Exception.h"
#include "framework/Reader.h"
#include "framework/WindowDescription.h"
#include "framework/db/ADODataSet.h"
#include "framework/db/DataClasses.h"

namespace db {
namespace {

constexpr char kModule[] = R"(object M: TDataModule
  object C: TADOConnection
    ConnectionString = 'Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.dat'
    LoginPrompt = False
    Mode = cmShareDenyNone
    Provider = 'Microsoft.Jet.OLEDB.4.0'
  end
  object Q: TADOQuery
    Connection = C
    CursorType = ctStatic
    Parameters = <
      item
        Name = 'p1'
        Attributes = [paNullable]
        DataType = ftWideString
        Size = 510
        Value = '4'
      end>
    SQL.Strings = (
      'select a, b'
      'from t where id=:p1')
  end
  object Qb: TWideStringField
    DataSet = Q
    FieldName = 'b'
    Size = 255
  end
  object Qa: TAutoIncField
    DataSet = Q
    FieldName = 'a'
  end
end
)";

TEST(DataClasses, ADataModuleWithAConnectionAQueryAndFields) {
  RegisterDataClasses();
  fw::TDataModule module(nullptr);
  fw::ReadComponentText(&module, kModule, "M.txt", ".");
  auto* c = static_cast<TADOConnection*>(module.FindComponent("C"));
  EXPECT_FALSE(c->LoginPrompt());
  EXPECT_EQ(c->Mode(), TConnectMode::cmShareDenyNone);
  auto* q = static_cast<TADOQuery*>(module.FindComponent("Q"));
  EXPECT_EQ(q->Connection(), c);
  EXPECT_EQ(q->SQL(), u"select a, b\r\nfrom t where id=:p1");
  const TParameter& p = q->Parameters().ParamByName("p1");
  EXPECT_EQ(p.DataType, TFieldType::ftWideString);
  EXPECT_EQ(p.Size, 510);
  EXPECT_TRUE(p.Nullable);
  EXPECT_EQ(p.Value, TVariant(u"4"));
  auto* b = static_cast<TField*>(module.FindComponent("Qb"));
  auto* a = static_cast<TField*>(module.FindComponent("Qa"));
  EXPECT_EQ(b->DataSet(), q);
  EXPECT_TRUE(a->ReadOnly());
  EXPECT_EQ(b->Size(), 255);
}

TEST(DataClasses, WrongValuesNameTheLine) {
  RegisterDataClasses();
  auto read = [](const std::string& text) -> std::u16string {
    fw::TDataModule module(nullptr);
    try {
      fw::ReadComponentText(&module, text, "M.txt", ".");
    } catch (const fw::EReadError& e) {
      return e.Message();
    }
    return u"";
  };
  EXPECT_NE(read("object M: TDataModule\n  object C: TADOConnection\n    Provider = 'SQLOLEDB'\n"
                 "  end\nend\n")
                .find(u"M.txt:3"),
            std::u16string::npos);
  EXPECT_NE(read("object M: TDataModule\n  object Q: TADOQuery\n    Parameters = <\n      item\n"
                 "        Size = 4\n      end>\n  end\nend\n")
                .find(u"parameter without Name"),
            std::u16string::npos);
  EXPECT_NE(
      read("object M: TDataModule\n  object F: TWideStringField\n    DataSet = M\n  end\nend\n")
          .find(u"a dataset expected"),
      std::u16string::npos);
}

}  // namespace
}  // namespace db
