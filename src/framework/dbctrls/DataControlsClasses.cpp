// The data-aware controls for window descriptions and the dump. References may name
// components of other forms and data modules (DataModule2.DataSource1).
#include "framework/dbctrls/DataControlsClasses.h"

#include "framework/Automation.h"
#include "framework/StdProperties.h"
#include "framework/TextConv.h"
#include "framework/dbctrls/DBGrid.h"
#include "framework/dbctrls/DBImage.h"
#include "framework/dbctrls/DataSource.h"

namespace fw {

namespace {

using backend::JsonWriter;
using V = const TValueDesc&;
using C = TReadContext&;

const std::vector<std::pair<std::string, int>> kDrawingStyle = {
    {"gdsClassic", int(TGridDrawingStyle::gdsClassic)},
    {"gdsGradient", int(TGridDrawingStyle::gdsGradient)}};

void RegisterDataClasses() {
  RegisterClass<TDataSource>("TDataSource", "");
  RegisterProperty<TDataSource>("TDataSource", "DataSet", [](TDataSource* s, V v, C x) {
    ReferTo<db::TDataSet>(x, v, u"a dataset expected", [s](db::TDataSet* d) { s->SetDataSet(d); });
  });
  RegisterProperty<TDataSource>("TDataSource", "Enabled",
                                [](TDataSource* s, V v, C x) { s->SetEnabled(x.Bool(v)); });
  RegisterProperty<TDataSource>("TDataSource", "OnDataChange",
                                [](TDataSource* s, V v, C x) { s->OnDataChange = x.Method(v); });
  RegisterProperty<TDataSource>("TDataSource", "OnStateChange",
                                [](TDataSource* s, V v, C x) { s->OnStateChange = x.Method(v); });

  using G = TDBGrid;
  RegisterClass<TDBGrid>("TDBGrid", "TWinControl");
  RegisterProperty<G>("TDBGrid", "DataSource", [](G* g, V v, C x) {
    ReferTo<TDataSource>(x, v, u"a data source expected",
                         [g](TDataSource* s) { g->SetDataSource(s); });
  });
  RegisterProperty<G>("TDBGrid", "DrawingStyle", [](G* g, V v, C x) {
    g->SetDrawingStyle(TGridDrawingStyle(x.Enum(v, kDrawingStyle)));
  });
  RegisterProperty<G>("TDBGrid", "GradientStartColor",
                      [](G* g, V v, C x) { g->SetGradientStartColor(ReadColor(v, x)); });
  RegisterProperty<G>("TDBGrid", "GradientEndColor",
                      [](G* g, V v, C x) { g->SetGradientEndColor(ReadColor(v, x)); });
  RegisterProperty<G>("TDBGrid", "TitleFont.Name",
                      [](G* g, V v, C x) { g->TitleFont().SetName(x.String(v)); });
  RegisterProperty<G>("TDBGrid", "TitleFont.Height", [](G* g, V v, C x) {
    g->TitleFont().SetHeight(int(x.Integer(v, -1000, 1000)));
  });
  RegisterProperty<G>("TDBGrid", "TitleFont.Color",
                      [](G* g, V v, C x) { g->TitleFont().SetColor(ReadColor(v, x)); });
  RegisterProperty<G>("TDBGrid", "TitleFont.Style",
                      [](G* g, V v, C x) { g->TitleFont().SetStyle(x.Set(v, kFontStyleNames)); });
  RegisterProperty<G>("TDBGrid", "Columns", [](G* g, V v, C x) {
    if (v.kind != TValueDesc::Kind::Collection) throw Exception(u"collection expected");
    g->Columns().Clear();
    for (const auto& item : v.items) {
      TColumn& column = g->Columns().Add();
      for (const TPropertyDesc& p : item) {
        if (SameText(p.name, "FieldName"))
          column.SetFieldName(Utf16ToUtf8(x.String(p.value)));
        else if (SameText(p.name, "Title.Caption"))
          column.Title().SetCaption(x.String(p.value));
        else if (SameText(p.name, "Width"))
          column.SetWidth(int(x.Integer(p.value, 0, 32767)));
        else
          throw Exception(u"unknown column property " + Utf8ToUtf16(p.name));
      }
    }
  });

  RegisterClass<TDBImage>("TDBImage", "TWinControl");
  RegisterProperty<TDBImage>("TDBImage", "DataSource", [](TDBImage* i, V v, C x) {
    ReferTo<TDataSource>(x, v, u"a data source expected",
                         [i](TDataSource* s) { i->SetDataSource(s); });
  });
  RegisterProperty<TDBImage>("TDBImage", "DataField", [](TDBImage* i, V v, C x) {
    i->SetDataField(Utf16ToUtf8(x.String(v)));
  });
  RegisterProperty<TDBImage>("TDBImage", "Stretch",
                             [](TDBImage* i, V v, C x) { i->SetStretch(x.Bool(v)); });
  RegisterProperty<TDBImage>("TDBImage", "Proportional",
                             [](TDBImage* i, V v, C x) { i->SetProportional(x.Bool(v)); });
  RegisterProperty<TDBImage>("TDBImage", "Center",
                             [](TDBImage* i, V v, C x) { i->SetCenter(x.Bool(v)); });
}

// Data-aware controls: the grid's columns and rows, the picture of a blob field.
void WriteDataControl(JsonWriter& w, TControl* c) {
  if (auto* grid = dynamic_cast<TDBGrid*>(c)) {
    w.Key("columns");
    w.BeginArray();
    for (const TDBGrid::TShownColumn& col : grid->ShownColumns()) {
      w.BeginObject();
      w.Key("field");
      w.String(col.FieldName);
      w.Key("title");
      w.String(col.Caption);
      w.Key("width");
      w.Number(col.Width);
      w.EndObject();
    }
    w.EndArray();
    w.Key("row");
    w.Number(grid->Row());
    w.Key("rowCount");
    w.Number(grid->RowCount());
    w.Key("topRow");
    w.Number(grid->TopRow());
  }
  if (auto* image = dynamic_cast<TDBImage*>(c)) {
    WritePicture(w, image->Picture());
    w.Key("pictureError");
    w.String(image->PictureError());
  }
}

}  // namespace

void RegisterDataControls() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterDataClasses();
  AddControlDumper(WriteDataControl);
}

}  // namespace fw
