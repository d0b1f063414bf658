// The catalogue's content: districts, organisations with their museums, and photo rows with
// what their files hold. Two sets: the sample catalogue of a fictional region that ships with
// the program, and the fixtures with the awkward cases the tests need.
#pragma once

#include <string>
#include <vector>

#include "framework/db/Variant.h"

namespace catalogue {

struct District {
  int id;
  db::TVariant nam;  // text or null
};

struct Organisation {
  int id;
  int idMun;
  db::TVariant nam, vid, nam1, addr, datO, phone, razd;  // null where a case needs it
};

// What a photo row's file is.
enum class PhotoFile {
  Jpeg,         // a generated photograph, JPEG with a camera's Exif block
  Png,          // a generated photograph, PNG
  Missing,      // no file at all
  Undecodable,  // a file with a picture's extension that no decoder reads
  Folder,       // the path names a folder
};

struct Photo {
  int id;
  int idUz;
  std::u16string foto;  // path under res/foto/
  PhotoFile file;
  int width = 0, height = 0;  // of generated photographs
};

struct Catalogue {
  std::vector<District> districts;
  std::vector<Organisation> organisations;
  std::vector<Photo> photos;
};

// The sample catalogue: a fictional region in Russian, 13 districts (one without any
// organisation), over a hundred organisations, every museum type of the card and one it does
// not know, 0 to 6 photos each and a few rows whose file is missing.
Catalogue SampleCatalogue();
// The awkward cases, each in one row (docs/data-access.md lists them).
Catalogue FixtureCatalogue();

}  // namespace catalogue
