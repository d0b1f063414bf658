#include "app/Unit1.h"

#include <ctime>

#include "app/Configuration.h"
#include "app/FormResources.h"
#include "app/TreeBuild.h"
#include "app/TreeFilter.h"
#include "app/TreeOps.h"
#include "app/Unit2.h"
#include "framework/Exception.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "platform/win/KeyboardLayout.h"

namespace app {

std::string path;
std::string path1;
TForm1* Form1 = nullptr;

template <class T>
T* TForm1::Component(const char* name) const {
  auto* c = dynamic_cast<T*>(FindComponent(name));
  if (!c) throw fw::Exception(u"TForm1 has no component " + fw::Utf8ToUtf16(name));
  return c;
}

TForm1::TForm1(fw::TComponent* owner) : TForm(owner) {
  RegisterCatalogueClasses();
  ChooseDateFormat();
  PublishMethod("FormCreate", [this](fw::TComponent*) { FormCreate(); });
  PublishMethod("FormActivate", [this](fw::TComponent*) { FormActivate(); });
  PublishMethod("sBitBtn2Click", [this](fw::TComponent*) { sBitBtn2Click(); });
  PublishMethod("sImage3Click", [this](fw::TComponent*) { sImage3Click(); });
  PublishMethod("sTreeView2Change", [this](fw::TComponent*) { sTreeView2Change(); });
  PublishMethod("sTreeView2Click", [this](fw::TComponent*) { sTreeView2Click(); });
  PublishMethod("sComboBox1CloseUp", [this](fw::TComponent*) { sComboBox1CloseUp(); });
  PublishMethod("sBitBtn1Click", [this](fw::TComponent*) { sBitBtn1Click(); });
  fw::ReadComponentResource(this, FormFiles(), "Unit1.txt");

  sStatusBar1 = Component<fw::TStatusBar>("sStatusBar1");
  sPanel2 = Component<fw::TPanel>("sPanel2");
  sTreeView2 = Component<fw::TTreeView>("sTreeView2");
  sComboBox1 = Component<fw::TComboBox>("sComboBox1");
  sEdit1 = Component<fw::TEdit>("sEdit1");
  sBitBtn1 = Component<fw::TButton>("sBitBtn1");
  sMemo1 = Component<fw::TMemo>("sMemo1");
  sImage3 = Component<fw::TImage>("sImage3");
  sImage6 = Component<fw::TImage>("sImage6");
  sAlphaImageList1 = Component<skin::controls::TsAlphaImageList>("sAlphaImageList1");
  ADOConnection1 = Component<db::TADOConnection>("ADOConnection1");
  ADOQuery1 = Component<db::TADOQuery>("ADOQuery1");
  ADOQuery2 = Component<db::TADOQuery>("ADOQuery2");
  ADOQuery3 = Component<db::TADOQuery>("ADOQuery3");
  ADOQuery4 = Component<db::TADOQuery>("ADOQuery4");
  ADOTable1 = Component<db::TADOTable>("ADOTable1");

  FCard.fields[std::size_t(TCardField::nam1)] = Component<fw::TLabel>("sLabel8");
  FCard.fields[std::size_t(TCardField::addr)] = Component<fw::TLabel>("sLabel9");
  FCard.fields[std::size_t(TCardField::dat_o)] = Component<fw::TLabel>("sLabel11");
  FCard.fields[std::size_t(TCardField::phone)] = Component<fw::TLabel>("sLabel12");
  FCard.fields[std::size_t(TCardField::vid)] = Component<fw::TLabel>("sLabel14");
  FCard.fields[std::size_t(TCardField::razd)] = sMemo1;
  FCard.typeImage = sImage6;
  FCard.card = sPanel2;
  TPhotoControls photo;
  photo.box = sImage3;
  photo.nextButton = Component<fw::TControl>("sBitBtn2");
  photo.covered = {sMemo1, Component<fw::TControl>("sLabel7")};
  FViewer = std::make_unique<TPhotoViewer>(*ADOQuery4, std::move(photo));
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  sStatusBar1->SetPanelWidth(0, Width() - 150);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  sStatusBar1->SetPanelText(
      1, db::DateToStr(db::EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)));
  path = ResourceFolder(CatalogueFolder());
  path1 = CatalogueFolder();
  FViewer->ResourceFolder = path;
  ADOConnection1->SetConnectionString(CatalogueConnectionString(path1));
  ADOConnection1->SetConnected(true);
  ADOQuery1->Open();
  ADOQuery2->Open();
  ADOQuery4->Open();
  ADOTable1->Open();
  BuildTree(*sTreeView2, *ADOQuery1, *ADOQuery2);
}

void TForm1::FormActivate() {
  SetRU();
}

void TForm1::SetRU() {
  win::LoadKeyboardLayoutW(u"00000419", win::KLF_ACTIVATE);
}

void TForm1::clickk(std::optional<std::intptr_t> selectedData) {
  ShowMuseumCard(selectedData, *ADOQuery3, *ADOQuery4, FCard, *FViewer);
}

void TForm1::sTreeView2Change() {
  clickk(SelectedData());
}

void TForm1::sTreeView2Click() {
  clickk(SelectedData());
}

void TForm1::sComboBox1CloseUp() {
  // The filter is put in force before the nodes go: a filter the data layer rejects leaves the
  // tree as it was.
  ApplyTreeFilter(*ADOQuery2, TreeFilterExpression(sComboBox1->Text(), sEdit1->Text()));
  BuildTree(*sTreeView2, *ADOQuery1, *ADOQuery2);
}

void TForm1::sBitBtn1Click() {
  ToggleFullExpansion(*sTreeView2);
}

std::optional<std::intptr_t> TForm1::SelectedData() const {
  if (const fw::TTreeNode* node = sTreeView2->Selected()) return node->Data();
  return std::nullopt;
}

void TForm1::sBitBtn2Click() {
  FViewer->Next();
}

void TForm1::sImage3Click() {
  FViewer->ToggleZoom();
}

}  // namespace app
