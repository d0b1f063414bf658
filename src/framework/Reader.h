// Reading window descriptions into components: the class registry (which class names a
// description may use, how to make them, which properties they take) and the reader.
//
// The reader creates nested components owned by the root, puts controls into the control
// that encloses them in the description, applies the properties in the order written,
// resolves references to other components (Name, or Module.Name for a component of another
// form or data module), then calls Loaded on every component it read (the root first, then
// the others in the order the description lists them, so each sees the components written
// before it loaded), and last AfterConstruction on every nested component in the same order
// (the root's creator calls the root's). Errors name the file, the line and the property.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Component.h"
#include "framework/Exception.h"
#include "framework/WindowDescription.h"

namespace fw {

class TReadContext;

// A file kept in memory: the program's window descriptions and the pictures they name, which
// the build embeds in the executable.
struct TEmbeddedFile {
  std::string_view Name;
  std::span<const std::uint8_t> Data;
};

// A file a description names, with its bytes: Path is where it was found (the folder's path,
// or the embedded name).
struct TDescribedFile {
  std::string Path;
  std::vector<std::uint8_t> Data;
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;
using TPropertySetter = std::function<void(TComponent*, const TValueDesc&, TReadContext&)>;

// Whether a component is of a registered class (or derives from it).
using TClassTest = std::function<bool(const TComponent*)>;
template <class T>
bool IsInstanceOf(const TComponent* c) {
  return dynamic_cast<const T*>(c) != nullptr;
}

// Registers a class name: how to make it, the registered class whose properties it inherits
// ("" for none) and how to tell its instances (the reader applies a class's properties only
// to components that are of it).
void RegisterClass(const std::string& name, const std::string& parent, TComponentFactory factory,
                   TClassTest isInstance = {});
template <class T>
void RegisterClass(const std::string& name, const std::string& parent) {
  RegisterClass(
      name, parent, [](TComponent* owner) -> TComponent* { return new T(owner); }, IsInstanceOf<T>);
}
bool IsClassRegistered(const std::string& name);
// Registers a property (dotted names such as "Font.Height" are one property) of a class.
void RegisterProperty(const std::string& className, const std::string& property,
                      TPropertySetter setter);
template <class T, class F>
void RegisterProperty(const std::string& className, const std::string& property, F setter) {
  RegisterProperty(className, property,
                   [setter](TComponent* c, const TValueDesc& v, TReadContext& ctx) {
                     // The reader checks classes; this keeps a wrong registration from
                     // calling members of another class.
                     auto* target = dynamic_cast<T*>(c);
                     if (!target) throw Exception(u"property of another class");
                     setter(target, v, ctx);
                   });
}

// What property setters use to read values; conversions raise Exception on a wrong kind.
class TReadContext {
 public:
  // Files named by the description lie in folder, or among embedded when that is not empty.
  TReadContext(TComponent* root, std::string file, std::string folder,
               std::span<const TEmbeddedFile> embedded = {});

  std::int64_t Integer(const TValueDesc& v, std::int64_t min, std::int64_t max) const;
  int Int(const TValueDesc& v) const { return int(Integer(v, -1000000, 1000000)); }
  // A real or an integer, within [min, max].
  double Real(const TValueDesc& v, double min, double max) const;
  bool Bool(const TValueDesc& v) const;
  std::u16string String(const TValueDesc& v) const;
  // A list of strings, such as Items.Strings = ('a' 'b').
  std::vector<std::u16string> Strings(const TValueDesc& v) const;
  const std::string& Ident(const TValueDesc& v) const;
  // An identifier from a table of names and values.
  int Enum(const TValueDesc& v, const std::vector<std::pair<std::string, int>>& table) const;
  // A set of table members, as their values or-ed together.
  unsigned Set(const TValueDesc& v, const std::vector<std::pair<std::string, int>>& table) const;
  // A file beside the description (a relative path that stays inside its folder) with its
  // bytes.
  TDescribedFile File(const TValueDesc& v) const;
  // A handler published by the root.
  TNotifyEvent Method(const TValueDesc& v) const;
  // Resolves a component reference once everything is read.
  void Reference(const TValueDesc& v, std::function<void(TComponent*)> apply);

  // The reader's own business.
  struct Fixup {
    std::string name;
    int line;
    std::string property;
    std::function<void(TComponent*)> apply;
    TComponent* scope;  // the frame the referring component sits in, looked in first
  };
  std::vector<Fixup>& Fixups() { return FFixups; }
  void SetCurrentProperty(const std::string& name) { FProperty = name; }
  // The frame whose components the properties read next refer to first (null: the root's).
  void SetCurrentScope(TComponent* scope) { FScope = scope; }
  TComponent* Root() const { return FRoot; }
  const std::string& File() const { return FFile; }

 private:
  TComponent* FRoot;
  std::string FFile;
  std::string FFolder;
  std::span<const TEmbeddedFile> FEmbedded;
  std::vector<Fixup> FFixups;
  std::string FProperty;  // the property being set, for references' errors
  TComponent* FScope = nullptr;
};

// Reads a description file into root, which its class has constructed.
void ReadComponentFile(TComponent* root, const std::string& path);
// Reads the description named name among files into root; the files it names are taken from
// the same set. A name that is not among them raises EReadError.
void ReadComponentResource(TComponent* root, std::span<const TEmbeddedFile> files,
                           const std::string& name);
// The same for description text; file names it in errors, folder is where its files lie.
void ReadComponentText(TComponent* root, std::string_view text, const std::string& file,
                       const std::string& folder);
// A component by reference: Name in root (or root itself), or Module.Name through the
// application's forms and data modules. Null when not found.
TComponent* FindGlobalComponent(TComponent* root, const std::string& name);

}  // namespace fw
