#include "Content.h"

#include <algorithm>

#include "Random.h"

namespace catalogue {

namespace {

using db::TVariant;
using std::u16string;

// Every type of the museum card's table, including those the type list does not offer.
const std::vector<u16string> kTypes = {u"Музей творчества",
                                       u"Музейный уголок",
                                       u"Исторический музей",
                                       u"Галерея",
                                       u"Музей боевой славы",
                                       u"Школьный музей",
                                       u"Музей природы",
                                       u"Музей театра и куклы",
                                       u"Краеведческий музей",
                                       u"Краеведческий уголок",
                                       u"Этнографический музей",
                                       u"Мини-музей старых вещей",
                                       u"Военно-исторический музей",
                                       u"Музей музыкальных инструментов",
                                       u"Историко-краеведческий музей",
                                       u"Историко-краеведческий уголок",
                                       u"Музей истории школы",
                                       u"Естественно-научный музей"};
// A type the card has no picture for.
const u16string kUnknownType = u"Музей космонавтики";

// Districts of the fictional Velmora region; the last one has no organisation.
const std::vector<u16string> kDistricts = {
    u"Велморский район",   u"Заречный район",      u"Сосновский район", u"Озёрный район",
    u"Берёзовский район",  u"Каменский район",     u"Ёлкинский район",  u"Луговой район",
    u"Приморский район",   u"Тихореченский район", u"Северный район",   u"г. Велмора",
    u"Дальнеборский район"};
// The district centre of each (the city district's is the city itself).
const std::vector<u16string> kCentres = {
    u"пос. Велморье", u"с. Заречье", u"с. Сосновка",   u"пос. Озёрный",  u"с. Берёзовка",
    u"г. Каменск",    u"с. Ёлкино",  u"с. Луговое",    u"пос. Приморье", u"с. Тихоречье",
    u"пос. Северный", u"г. Велмора", u"с. Дальний Бор"};
const std::vector<u16string> kVillages = {
    u"с. Ольховка", u"с. Ключи",   u"д. Малиновка", u"с. Красный Яр", u"с. Верхние Луки",
    u"д. Полянка",  u"с. Вязовка", u"с. Кедровка",  u"д. Рябиновка",  u"с. Дубравка",
    u"с. Заозерье", u"д. Ручьи",   u"с. Гремячье",  u"с. Светлое",    u"д. Подгорное"};
const std::vector<u16string> kStreets = {
    u"ул. Школьная",   u"ул. Центральная", u"ул. Садовая", u"ул. Молодёжная", u"ул. Лесная",
    u"ул. Набережная", u"ул. Полевая",     u"ул. Речная",  u"пер. Почтовый",  u"ул. Советская"};
const std::vector<u16string> kCityNames = {u"«Радуга»", u"«Солнышко»", u"«Берёзка»",
                                           u"«Исток»",  u"«Родник»",   u"«Парус»"};

// Sections of an exhibition, by theme; a museum shows several of them.
const std::vector<u16string> kSections = {
    u"История школы: от церковно-приходского училища до наших дней",
    u"Выпускники школы — труженики родного края",
    u"Учителя, отдавшие школе полвека",
    u"Крестьянский быт XIX — начала XX века",
    u"Русская изба: утварь, прялки, вышитые полотенца",
    u"Земляки на фронтах Великой Отечественной войны",
    u"Письма с фронта и солдатские треугольники",
    u"Тыл: как жило село в годы войны",
    u"Природа родного края: птицы, звери, растения",
    u"Гербарий луговых и лесных трав",
    u"Минералы и окаменелости берегов реки Велмы",
    u"Народный костюм Велморья",
    u"Игрушка из глины, соломы и лыка",
    u"Куклы кукольного театра «Теремок»",
    u"Старинные музыкальные инструменты: гусли, балалайки, гармони",
    u"Рисунки и поделки учеников",
    u"Пионерская и комсомольская жизнь школы",
    u"Археологические находки школьных экспедиций",
    u"Предметы старины: самовары, утюги, керосиновые лампы",
    u"Летопись села в фотографиях",
    u"Школьная форма и учебники разных лет",
    u"Спортивные достижения школы",
};

// Short and full names of an organisation of one kind. The full name holds the short one with
// its abbreviation spelled out (СОШ, ООШ, ДДТ, ЦДО) and quotes aside.
struct Kind {
  u16string shortName;  // "{n}" stands for the number, "{p}" for the place, "{c}" for a name
  u16string fullName;
};
const std::vector<Kind> kKinds = {
    {u"СОШ №{n} {p}",
     u"Муниципальное бюджетное общеобразовательное учреждение «Средняя общеобразовательная "
     u"школа №{n} {p}»"},
    {u"ООШ {p}",
     u"Муниципальное казённое общеобразовательное учреждение «Основная общеобразовательная "
     u"школа {p}»"},
    {u"Гимназия №{n}",
     u"Муниципальное автономное общеобразовательное учреждение «Гимназия №{n}» {p}"},
    {u"Лицей №{n}", u"Муниципальное бюджетное общеобразовательное учреждение «Лицей №{n}» {p}"},
    {u"ДДТ {p}",
     u"Муниципальное бюджетное учреждение дополнительного образования «Дом детского "
     u"творчества» {p}"},
    {u"ЦДО «Успех»",
     u"Муниципальное бюджетное учреждение дополнительного образования «Центр "
     u"дополнительного образования „Успех“» {p}"},
    {u"Станция юных натуралистов",
     u"Муниципальное бюджетное учреждение дополнительного образования «Станция юных "
     u"натуралистов» {p}"},
    {u"Детский сад №{n} {c}",
     u"Муниципальное бюджетное дошкольное образовательное учреждение «Детский сад №{n} {c}» "
     u"{p}"},
    {u"Кадетская школа {p}",
     u"Муниципальное бюджетное общеобразовательное учреждение «Кадетская школа» {p}"},
};

u16string Replace(u16string text, std::u16string_view key, const u16string& value) {
  for (std::size_t at; (at = text.find(key)) != u16string::npos;)
    text.replace(at, key.size(), value);
  return text;
}

u16string Number(int n) {
  const std::string s = std::to_string(n);
  return u16string(s.begin(), s.end());
}

u16string Phone(Random& r) {
  auto digits = [&](int count) {
    u16string s;
    for (int i = 0; i < count; ++i) s += char16_t(u'0' + r.Int(0, 9));
    return s;
  };
  return u"8 (4999) " + digits(1) + u"-" + digits(2) + u"-" + digits(2);
}

u16string Sections(Random& r) {
  u16string text;
  const int lines = r.Int(3, 6);
  std::vector<std::size_t> used;
  while (int(used.size()) < lines) {
    const std::size_t i = std::size_t(r.Int(0, int(kSections.size()) - 1));
    if (std::find(used.begin(), used.end(), i) != used.end()) continue;
    used.push_back(i);
    text += (text.empty() ? u"" : u"\r\n") + Number(int(used.size())) + u". " + kSections[i];
  }
  return text;
}

}  // namespace

Catalogue SampleCatalogue() {
  Catalogue c;
  Random r(1987);
  for (std::size_t i = 0; i < kDistricts.size(); ++i)
    c.districts.push_back({int(i + 1), TVariant(kDistricts[i])});
  // Organisations: district by district (not the last), with types cycling so that every type
  // appears, and one of the unknown type.
  int id = 0, number = 0, typeIndex = 0, photoId = 0;
  for (std::size_t d = 0; d + 1 < kDistricts.size(); ++d) {
    const int count = d == 11 ? 14 : r.Int(6, 10);  // the city has the most schools
    for (int k = 0; k < count; ++k) {
      ++id;
      const Kind& kind = kKinds[std::size_t(r.Chance(0.45) ? 0 : r.Int(1, 8))];
      const u16string place = k == 0 || d == 11 ? kCentres[d] : r.Pick(kVillages);
      const u16string n = Number(++number % 40 + 1);
      // One name for the organisation: its short and full names agree.
      const u16string city = r.Pick(kCityNames);
      auto fill = [&](u16string s) {
        return Replace(Replace(Replace(s, u"{n}", n), u"{p}", place), u"{c}", city);
      };
      Organisation o;
      o.id = id;
      o.idMun = int(d + 1);
      o.nam = TVariant(fill(kind.shortName));
      o.nam1 = TVariant(fill(kind.fullName) + (d == 11 ? u"" : u" " + kDistricts[d]));
      o.vid = TVariant(id == 17 ? kUnknownType : kTypes[std::size_t(typeIndex++) % kTypes.size()]);
      o.addr = TVariant(u"Велморская обл., " + (d == 11 ? u16string() : kDistricts[d] + u", ") +
                        place + u", " + r.Pick(kStreets) + u", д. " + Number(r.Int(1, 60)));
      // Most opening dates are dates; a few were recorded as text.
      if (r.Chance(0.9))
        o.datO = TVariant(db::EncodeDateTime(r.Int(1965, 2022), r.Int(1, 12), r.Int(1, 28)));
      else
        o.datO = TVariant(u"сентябрь " + Number(r.Int(1970, 2000)) + u" г.");
      o.phone = TVariant(Phone(r));
      o.razd = TVariant(Sections(r));
      c.organisations.push_back(o);
      // A few museums lost one file; they keep at most six photo rows all the same.
      const bool losesOne = id == 3 || id == 41 || id == 77;
      const int photos = r.Int(0, losesOne ? 5 : 6);
      for (int p = 0; p < photos; ++p) {
        Photo ph;
        ph.id = ++photoId;
        ph.idUz = id;
        static const int kShapes[][2] = {{4, 3}, {3, 2}, {16, 9}, {3, 4}, {1, 1}, {2, 3}, {5, 4}};
        const auto& shape = kShapes[r.Int(0, 6)];
        const bool png = r.Chance(0.25);
        const int longSide = png ? r.Int(300, 640) : r.Int(360, 1200);
        ph.width = shape[0] >= shape[1] ? longSide : longSide * shape[0] / shape[1];
        ph.height = shape[0] >= shape[1] ? longSide * shape[1] / shape[0] : longSide;
        ph.file = png ? PhotoFile::Png : PhotoFile::Jpeg;
        ph.foto = Number(id) + u"/" + Number(p + 1) + (png ? u".png" : u".jpg");
        c.photos.push_back(ph);
      }
      if (losesOne)
        c.photos.push_back(
            {++photoId, id, Number(id) + u"/утерянное фото.jpg", PhotoFile::Missing});
    }
  }
  return c;
}

Catalogue FixtureCatalogue() {
  Catalogue c;
  c.districts = {
      {1, TVariant(u"Заречный район")},
      {2, TVariant(u"Озёрный район")},
      {3, TVariant()},                  // a district without a name
      {4, TVariant(u"Озёрный район")},  // two districts of the same name
      {5, TVariant(u"Пустой район")},   // a district without organisations
  };
  auto org = [](int id, int mun, TVariant nam, TVariant vid) {
    Organisation o{id,
                   mun,
                   std::move(nam),
                   std::move(vid),
                   TVariant(u"Полное имя организации №" + Number(id)),
                   TVariant(u"Велморская обл., ул. Школьная, д. " + Number(id)),
                   TVariant(db::EncodeDateTime(1980 + id, 9, 1)),
                   TVariant(u"8 (4999) 1-00-" + Number(10 + id)),
                   TVariant(u"1. Первый раздел\r\n2. Второй раздел")};
    return o;
  };
  c.organisations = {
      org(1, 1, TVariant(u"СОШ №1"), TVariant(u"Галерея")),
      org(2, 2, TVariant(u"СОШ №1"), TVariant(u"Школьный музей")),  // same short name
      org(3, 3, TVariant(u"Школа без района"), TVariant(u"Музей природы")),
      org(4, 4, TVariant(u"Гимназия"), TVariant(u"Музей боевой славы")),
      org(5, 1, TVariant(u"Озёрный район"), TVariant(u"Краеведческий музей")),  // like a district
      org(6, 99, TVariant(u"Школа вне округов"), TVariant(u"Галерея")),         // district missing
      org(7, 1, TVariant(u"Школа «O'Хара»"), TVariant(u"Музей творчества")),    // a quote
      org(8, 2, TVariant(u"Лицей 100% успеха"),
          TVariant(u"Музей космонавтики")),  // percent, unknown type
      org(9, 2, TVariant(u"Школа без телефона"), TVariant(u"Галерея")),
      org(10, 1, TVariant(u"Школа с пустым телефоном"), TVariant(u"Музейный уголок")),
      org(11, 2, TVariant(u"Школа с датой-текстом"), TVariant(u"Мини-музей старых вещей")),
  };
  c.organisations[8].phone = TVariant();     // a null card field
  c.organisations[9].phone = TVariant(u"");  // empty, not null
  c.organisations[10].datO = TVariant(u"осень 1975 года");
  c.photos = {
      {1, 1, u"1/1.jpg", PhotoFile::Jpeg, 320, 240},
      {2, 1, u"1/2.png", PhotoFile::Png, 200, 300},
      {3, 1, u"1/3.jpg", PhotoFile::Missing},
      {4, 4, u"4/испорченное.jpg", PhotoFile::Undecodable},
      {5, 4, u"4/папка.jpg", PhotoFile::Folder},
      {6, 4, u"4/1.jpg", PhotoFile::Jpeg, 240, 240},
  };
  return c;
}

}  // namespace catalogue
