#include "app/Unit3.h"

#include "app/FormResources.h"
#include "app/PhotoViewer.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Reader.h"
#include "framework/db/Field.h"
#include "framework/db/Variant.h"
#include "skin/frame/sSkinProvider.h"

namespace app {

TForm3* Form3 = nullptr;

TForm3::TForm3(fw::TComponent* owner) : TForm(owner) {
  RegisterCatalogueClasses();
  PublishMethod("sButton1Click", [this](fw::TComponent*) { sButton1Click(); });
  fw::ReadComponentResource(this, FormFiles(), "Unit3.txt");
  ADOTable1 = static_cast<db::TADOTable*>(FindComponent("ADOTable1"));
  DataSource1 = static_cast<fw::TDataSource*>(FindComponent("DataSource1"));
  sDBGrid1 = static_cast<skin::controls::TsDBGrid*>(FindComponent("sDBGrid1"));
  DBImage1 = static_cast<fw::TDBImage*>(FindComponent("DBImage1"));
}

void TForm3::VisibleChanged() {
  // The data image has no skinned class of its own: the form's adapter wraps it as an edit,
  // which gives it the skin's frame and colours.
  if (Visible())
    skin::frame::TsSkinProvider::CreateRunTime(*this)->ThirdParty().SetText(skin::core::tpEdit,
                                                                            u"TDBImage");
  TForm::VisibleChanged();
}

void TForm3::sButton1Click() {
  ADOTable1->Edit();
  // The same file the viewer shows; a name that names no file is tried as written, so the
  // error names it.
  const std::u16string stored = ADOTable1->FieldByName("foto").AsString();
  const std::string file =
      FindPhotoFile(path + "foto/", stored).value_or(path + "foto/" + db::ToUtf8(stored));
  auto* blob = dynamic_cast<db::TBlobField*>(&ADOTable1->FieldByName("fot"));
  if (!blob) ADOTable1->DatabaseError("Field 'fot' is not a blob field");
  blob->LoadFromFile(file);
  ADOTable1->Post();
}

}  // namespace app
