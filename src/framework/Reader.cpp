#include "framework/Reader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "framework/Application.h"
#include "framework/Control.h"
#include "framework/Frame.h"
#include "framework/TextConv.h"
#include "framework/WinControl.h"
#include "platform/gfx/PictureCodec.h"

namespace fw {

// Defined with the standard classes; registers them once.
void RegisterStandardClasses();

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

struct ClassInfo {
  std::string name;
  std::string parent;
  TComponentFactory factory;
  TClassTest isInstance;
  std::map<std::string, TPropertySetter> properties;  // by lower-case name
};

std::map<std::string, ClassInfo>& Registry() {
  static std::map<std::string, ClassInfo> registry;
  return registry;
}

void EnsureStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
}

const ClassInfo* FindClass(const std::string& name) {
  EnsureStandardClasses();
  auto it = Registry().find(Lower(name));
  return it == Registry().end() ? nullptr : &it->second;
}

// Whether c is of the class (tested by the nearest registered ancestor that can tell).
bool IsOfClass(const TComponent* c, const std::string& className) {
  for (const ClassInfo* info = FindClass(className); info; info = FindClass(info->parent)) {
    if (info->isInstance) return info->isInstance(c);
    if (info->parent.empty()) break;
  }
  return false;
}

const TPropertySetter* FindProperty(const std::string& className, const std::string& property) {
  std::string key = Lower(property);
  for (const ClassInfo* c = FindClass(className); c; c = FindClass(c->parent)) {
    auto it = c->properties.find(key);
    if (it != c->properties.end()) return &it->second;
    if (c->parent.empty()) break;
  }
  return nullptr;
}

class Reader {
 public:
  Reader(TComponent* root, const std::string& file, const std::string& folder,
         std::span<const TEmbeddedFile> embedded)
      : ctx_(root, file, folder, embedded) {}

  void Read(const TObjectDesc& desc) {
    TComponent* root = ctx_.Root();
    if (!FindClass(desc.className))
      Fail(desc.line, "", u"unknown class " + Utf8ToUtf16(desc.className));
    // The description must be of the root's own class (or one it derives from): properties
    // of another class would act on an object that is not of it.
    if (!IsOfClass(root, desc.className))
      Fail(desc.line, "",
           u"the description of a " + Utf8ToUtf16(desc.className) + u" cannot be read into " +
               Utf8ToUtf16(root->ClassName()));
    root->Loading();
    loaded_.push_back(root);
    Fill(root, desc.className, desc, dynamic_cast<TWinControl*>(root), root, true);
    for (auto& f : ctx_.Fixups()) {
      // A component inside a frame names the frame's components as the frame's own
      // description would; what the frame lacks is the root's.
      TComponent* target = f.scope ? FindGlobalComponent(f.scope, f.name) : nullptr;
      if (!target) target = FindGlobalComponent(root, f.name);
      if (!target) Fail(f.line, f.property, u"unknown component " + Utf8ToUtf16(f.name));
      Apply(f.line, f.property, [&] { f.apply(target); });
    }
    for (TComponent* c : loaded_) c->Loaded();
    // The nested components are whole now; the root's creator finishes the root the same way.
    for (TComponent* c : loaded_)
      if (c != root) c->AfterConstruction();
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& property, const std::u16string& what) {
    throw EReadError(ctx_.File(), line, property, what);
  }

  // Runs a property action, turning its errors into read errors at that line.
  template <class F>
  void Apply(int line, const std::string& property, F action) {
    try {
      action();
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& e) {
      Fail(line, property, e.Message());
    } catch (const std::exception& e) {
      Fail(line, property, Utf8ToUtf16(e.what()));
    }
  }

  // owner: who owns the children made here (the root, or the frame they sit in).
  void Fill(TComponent* c, const std::string& className, const TObjectDesc& desc,
            TWinControl* parent, TComponent* owner, bool isRoot) {
    if (isRoot) {
      Apply(desc.line, "Name", [&] { c->SetName(desc.name); });
    }
    c->SetReading(true);
    ctx_.SetCurrentScope(dynamic_cast<TFrame*>(c->Owner()));
    for (const TPropertyDesc& p : desc.properties) {
      const TPropertySetter* setter = FindProperty(className, p.name);
      if (!setter) Fail(p.line, p.name, u"unknown property of " + Utf8ToUtf16(className));
      ctx_.SetCurrentProperty(p.name);
      Apply(p.line, p.name, [&] { (*setter)(c, p.value, ctx_); });
    }
    c->SetReading(false);
    for (const TObjectDesc& child : desc.children) {
      const ClassInfo* info = FindClass(child.className);
      if (!info || !info->factory)
        Fail(child.line, "", u"unknown class " + Utf8ToUtf16(child.className));
      TComponent* made = nullptr;
      // A component may refuse its owner.
      Apply(child.line, "", [&] { made = info->factory(owner); });
      if (!IsOfClass(made, child.className)) {
        delete made;
        Fail(child.line, "",
             u"the class " + Utf8ToUtf16(child.className) + u" makes another class");
      }
      made->Loading();
      loaded_.push_back(made);
      Apply(child.line, "Name", [&] { made->SetName(child.name); });
      if (auto* control = dynamic_cast<TControl*>(made)) {
        if (!parent)
          Fail(child.line, "",
               Utf8ToUtf16(desc.name) + u" cannot hold the control " + Utf8ToUtf16(child.name));
        control->SetParent(parent);
      } else {
        made->SetParentComponent(c);
      }
      // Only windowed controls hold controls.
      // A frame owns what is put on it.
      TComponent* childOwner = dynamic_cast<TFrame*>(made) ? made : owner;
      Fill(made, child.className, child, dynamic_cast<TWinControl*>(made), childOwner, false);
    }
  }

  TReadContext ctx_;
  std::vector<TComponent*> loaded_;
};

}  // namespace

void RegisterClass(const std::string& name, const std::string& parent, TComponentFactory factory,
                   TClassTest isInstance) {
  ClassInfo& info = Registry()[Lower(name)];
  info.name = name;
  info.parent = parent;
  info.factory = std::move(factory);
  info.isInstance = std::move(isInstance);
}

bool IsClassRegistered(const std::string& name) {
  return FindClass(name) != nullptr;
}

void RegisterProperty(const std::string& className, const std::string& property,
                      TPropertySetter setter) {
  ClassInfo& info = Registry()[Lower(className)];
  if (info.name.empty()) info.name = className;
  info.properties[Lower(property)] = std::move(setter);
}

TReadContext::TReadContext(TComponent* root, std::string file, std::string folder,
                           std::span<const TEmbeddedFile> embedded)
    : FRoot(root), FFile(std::move(file)), FFolder(std::move(folder)), FEmbedded(embedded) {}

std::int64_t TReadContext::Integer(const TValueDesc& v, std::int64_t min, std::int64_t max) const {
  if (v.kind != TValueDesc::Kind::Integer) throw Exception(u"integer expected");
  if (v.integer < min || v.integer > max) throw Exception(u"value out of range");
  return v.integer;
}

double TReadContext::Real(const TValueDesc& v, double min, double max) const {
  double value = 0;
  if (v.kind == TValueDesc::Kind::Real)
    value = v.real;
  else if (v.kind == TValueDesc::Kind::Integer)
    value = double(v.integer);
  else
    throw Exception(u"number expected");
  if (!(value >= min && value <= max)) throw Exception(u"value out of range");
  return value;
}

bool TReadContext::Bool(const TValueDesc& v) const {
  if (v.kind == TValueDesc::Kind::Ident) {
    if (SameText(v.ident, "True")) return true;
    if (SameText(v.ident, "False")) return false;
  }
  throw Exception(u"True or False expected");
}

std::u16string TReadContext::String(const TValueDesc& v) const {
  if (v.kind != TValueDesc::Kind::String) throw Exception(u"string expected");
  return v.string;
}

std::vector<std::u16string> TReadContext::Strings(const TValueDesc& v) const {
  if (v.kind != TValueDesc::Kind::List) throw Exception(u"list expected");
  std::vector<std::u16string> out;
  for (const TValueDesc& item : v.list) out.push_back(String(item));
  return out;
}

const std::string& TReadContext::Ident(const TValueDesc& v) const {
  if (v.kind != TValueDesc::Kind::Ident) throw Exception(u"identifier expected");
  return v.ident;
}

int TReadContext::Enum(const TValueDesc& v,
                       const std::vector<std::pair<std::string, int>>& table) const {
  const std::string& id = Ident(v);
  for (const auto& [name, value] : table)
    if (SameText(name, id)) return value;
  throw Exception(u"invalid value " + Utf8ToUtf16(id));
}

unsigned TReadContext::Set(const TValueDesc& v,
                           const std::vector<std::pair<std::string, int>>& table) const {
  if (v.kind != TValueDesc::Kind::Set) throw Exception(u"set expected");
  unsigned bits = 0;
  for (const std::string& member : v.set) {
    TValueDesc one;
    one.kind = TValueDesc::Kind::Ident;
    one.ident = member;
    bits |= unsigned(Enum(one, table));
  }
  return bits;
}

TDescribedFile TReadContext::File(const TValueDesc& v) const {
  std::string name = Utf16ToUtf8(String(v));
  std::filesystem::path rel(name);
  if (name.empty() || rel.is_absolute() ||
      std::any_of(rel.begin(), rel.end(), [](const auto& part) { return part == ".."; }))
    throw Exception(u"file names must lie beside the description: " + v.string);
  if (FEmbedded.empty()) {
    std::string path = (std::filesystem::path(FFolder) / rel).string();
    std::vector<std::uint8_t> data = gfx::ReadFileBytes(path);
    return {std::move(path), std::move(data)};
  }
  const std::string wanted = rel.lexically_normal().string();
  for (const TEmbeddedFile& f : FEmbedded)
    if (f.Name == wanted) return {wanted, {f.Data.begin(), f.Data.end()}};
  throw Exception(u"no embedded file " + v.string);
}

TNotifyEvent TReadContext::Method(const TValueDesc& v) const {
  const std::string& name = Ident(v);
  TNotifyEvent handler = FRoot->MethodAddress(name);
  if (!handler) throw Exception(u"unknown handler " + Utf8ToUtf16(name));
  return handler;
}

void TReadContext::Reference(const TValueDesc& v, std::function<void(TComponent*)> apply) {
  FFixups.push_back({Ident(v), v.line, FProperty, std::move(apply), FScope});
}

TComponent* FindGlobalComponent(TComponent* root, const std::string& name) {
  auto dot = name.find('.');
  if (dot == std::string::npos) {
    if (SameText(root->Name(), name)) return root;
    return root->FindComponent(name);
  }
  std::string module = name.substr(0, dot), rest = name.substr(dot + 1);
  TComponent* holder = SameText(root->Name(), module) ? root : nullptr;
  if (!holder && Application) holder = Application->FindComponent(module);
  return holder ? holder->FindComponent(rest) : nullptr;
}

void ReadComponentText(TComponent* root, std::string_view text, const std::string& file,
                       const std::string& folder) {
  TObjectDesc desc = ParseWindowDescription(text, file);
  Reader(root, file, folder, {}).Read(desc);
}

void ReadComponentResource(TComponent* root, std::span<const TEmbeddedFile> files,
                           const std::string& name) {
  for (const TEmbeddedFile& f : files) {
    if (f.Name != name) continue;
    const std::string_view text(reinterpret_cast<const char*>(f.Data.data()), f.Data.size());
    Reader(root, name, "", files).Read(ParseWindowDescription(text, name));
    return;
  }
  throw EReadError(name, 0, "", u"no embedded description " + Utf8ToUtf16(name));
}

void ReadComponentFile(TComponent* root, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = gfx::ReadFileBytes(path);
  } catch (const std::exception& e) {
    throw EReadError(path, 0, "", Utf8ToUtf16(e.what()));
  }
  std::string text(bytes.begin(), bytes.end());
  ReadComponentText(root, text, path, std::filesystem::path(path).parent_path().string());
}

}  // namespace fw
