// Builds a catalogue folder: DIR/res.dat (the database) and DIR/res/foto/ (the photos).
//   make-catalogue sample DIR     the sample catalogue that ships beside the program
//   make-catalogue fixtures DIR   the awkward cases the tests read
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "Content.h"
#include "Photos.h"
#include "app/DatabasePassword.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADODataSet.h"
#include "framework/db/JetCatalogue.h"
#include "platform/gfx/PictureCodec.h"

namespace {

namespace fs = std::filesystem;
using namespace catalogue;

// Inserts rows through one parameterised query.
class Inserter {
 public:
  Inserter(db::TADOConnection& conn, const std::u16string& sql) : q_(nullptr) {
    q_.SetConnection(&conn);
    q_.SetSQL(sql);
  }
  Inserter& Set(const std::string& name, const db::TVariant& value) {
    q_.Parameters().ParamByName(name).Value = value;
    return *this;
  }
  void Run() { q_.ExecSQL(); }

 private:
  db::TADOQuery q_;
};

void WriteDatabase(const Catalogue& c, const std::string& file) {
  db::CreateDatabase(file, app::kDatabasePassword);
  db::TADOConnection conn(nullptr);
  conn.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" +
                           db::ToUtf16(file) + u";Jet OLEDB:Database Password=" +
                           app::kDatabasePassword);
  conn.Open();
  conn.Execute(db::CatalogueSchemaSql());
  conn.BeginTrans();
  Inserter mun(conn, u"insert into mun (id, nam) values (:id, :nam)");
  for (const District& d : c.districts) mun.Set("id", d.id).Set("nam", d.nam).Run();
  Inserter uz(conn,
              u"insert into uz (id, id_mun, nam, vid, nam1, addr, dat_o, phone, razd) values"
              u" (:id, :id_mun, :nam, :vid, :nam1, :addr, :dat_o, :phone, :razd)");
  for (const Organisation& o : c.organisations)
    uz.Set("id", o.id)
        .Set("id_mun", o.idMun)
        .Set("nam", o.nam)
        .Set("vid", o.vid)
        .Set("nam1", o.nam1)
        .Set("addr", o.addr)
        .Set("dat_o", o.datO)
        .Set("phone", o.phone)
        .Set("razd", o.razd)
        .Run();
  Inserter foto(conn, u"insert into foto (id, id_uz, foto) values (:id, :id_uz, :foto)");
  for (const Photo& p : c.photos)
    foto.Set("id", p.id).Set("id_uz", p.idUz).Set("foto", db::TVariant(p.foto)).Run();
  conn.CommitTrans();
}

void WritePhoto(const Photo& p, const fs::path& folder) {
  const fs::path path = folder / fs::path(db::ToUtf8(p.foto));
  fs::create_directories(path.parent_path());
  Random random(0xF0700000u + std::uint64_t(p.id));
  const auto scene = PhotoScene(random.Int(0, 2));
  switch (p.file) {
    case PhotoFile::Missing:
      return;
    case PhotoFile::Folder:
      fs::create_directories(path);
      return;
    case PhotoFile::Undecodable: {
      // A JPEG's first bytes and then nothing a decoder can use.
      const std::vector<std::uint8_t> bytes = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F',
                                               'I',  'F',  0,    'n',  'o',  't',  ' ', 'a'};
      gfx::WriteFileBytes(path.string(), bytes);
      return;
    }
    case PhotoFile::Png:
      gfx::WriteFileBytes(path.string(),
                          gfx::EncodePng(PaintPhoto(scene, p.width, p.height, random)));
      return;
    case PhotoFile::Jpeg: {
      const gfx::Bitmap bmp = PaintPhoto(scene, p.width, p.height, random);
      gfx::WriteFileBytes(
          path.string(),
          gfx::EncodeJpeg(
              bmp, 85, CameraExif(random.Int(2008, 2024), random.Int(1, 12), random.Int(1, 28))));
      return;
    }
  }
}

// Writes the folder afresh; the database appears under its name only once complete, so an
// interrupted build leaves no half-written catalogue behind.
void WriteCatalogue(const Catalogue& c, const fs::path& dir) {
  fs::create_directories(dir);
  const fs::path database = dir / "res.dat";
  const fs::path partial = dir / "res.dat.partial";
  fs::remove(partial);
  const fs::path photos = dir / "res" / "foto";
  fs::remove_all(photos);
  fs::create_directories(photos);
  for (const Photo& p : c.photos) WritePhoto(p, photos);
  WriteDatabase(c, partial.string());
  fs::rename(partial, database);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  if (mode != "sample" && mode != "fixtures") {
    std::fprintf(stderr, "usage: make-catalogue sample|fixtures DIR\n");
    return 2;
  }
  try {
    WriteCatalogue(mode == "sample" ? SampleCatalogue() : FixtureCatalogue(), argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-catalogue: %s\n", e.what());
    return 1;
  }
  return 0;
}
