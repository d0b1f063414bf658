// The text format of window descriptions, parsed into a tree:
//
//   object Form1: TForm1            a component: its name and class
//     Caption = 'Каталог'#13'музеев'  strings in quotes ('' is a quote), #n adds a character,
//     Left = 10                       pieces join directly or with + across lines
//     ScalingFactor = 1.25            reals: digits, a point, digits, an optional exponent
//     Align = alTop                   identifiers: enumerations, True/False, component
//     Images = DataModule2.List       references (Module.Name reaches another module)
//     Font.Style = [fsBold]           sets
//     Items.Strings = ('a' 'b')       lists
//     Panels = <                      collections of items with their own properties
//       item
//         Width = 50
//       end>
//     Picture.File = 'banner.jpg'     binary data lives in a file beside the description
//     object Child: TPanel ... end    nested components
//   end
//
// The parser is strict: every error names the file and line. Input is UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Exception.h"

namespace fw {

// An error in a description: the file, the line and (when known) the property.
class EReadError : public Exception {
 public:
  EReadError(const std::string& file, int line, const std::string& property,
             const std::u16string& message);
  const std::string& File() const { return FFile; }
  int Line() const { return FLine; }
  const std::string& Property() const { return FProperty; }

 private:
  std::string FFile;
  int FLine;
  std::string FProperty;
};

struct TPropertyDesc;

// A property value.
struct TValueDesc {
  enum class Kind { Integer, Real, String, Ident, Set, List, Collection } kind = Kind::Integer;
  std::int64_t integer = 0;
  double real = 0;
  std::u16string string;
  std::string ident;                              // also a dotted reference
  std::vector<std::string> set;                   // set members
  std::vector<TValueDesc> list;                   // list items
  std::vector<std::vector<TPropertyDesc>> items;  // collection items
  int line = 0;
};

struct TPropertyDesc {
  std::string name;  // may be dotted (Font.Height)
  TValueDesc value;
  int line = 0;
};

struct TObjectDesc {
  std::string name;
  std::string className;
  int line = 0;
  std::vector<TPropertyDesc> properties;  // in the order written
  std::vector<TObjectDesc> children;
};

// Parses a description; file is used in error messages only. Raises EReadError.
TObjectDesc ParseWindowDescription(std::string_view text, const std::string& file);

}  // namespace fw
