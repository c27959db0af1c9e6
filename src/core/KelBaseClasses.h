// Named objects created by class name and configured by property name from text: TKelObject (a
// named object of one engine), TKelEngine (the owner of an ordered set of them, with look-up by
// name, creation by class name and property access by name), TKelClassReg (the program's
// registry of creatable classes) and the declarative tables of published properties with their
// text conversions. Each class describes itself in one TKelClass: its name, its base, how to
// create it and its own published properties, for example
//     const TKelClass& TKelFont::StaticClass() {
//         static const TKelClass info = MakeKelClass<TKelFont>("TKelFont",
//         &TKelObject::StaticClass(),
//             {Field("Height", &TKelFont::Height), Accessor<TKelFont, std::string>("Metrics",
//              nullptr, &TKelFont::SetMetrics)});
//         return info;
//     }
// and says KEL_CLASS(TKelFont) in its declaration. Also includes the effect objects' base
// (KelBaseObject). Relies on KelEnums, KelParserText, Utf8 and CoreError.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/KelBaseObject.h"
#include "core/KelEnums.h"
#include "core/Utf8.h"

class TKelObject;
class TKelEngine;

enum class TKelPropertyType { String, Utf8String, WideString, Integer, Byte, Boolean, Enumeration };

// A property value: text for text types, a number for numbers, ordinals and Booleans (as read
// and written by the accessors); none for a missing object.
using TKelValue = std::variant<std::monostate, std::string, int32_t>;
// The value as text: the text itself, a number in decimal, "" for none.
std::string ValueToText(const TKelValue& value);

struct TKelProperty {
    std::string Name;
    TKelPropertyType Type = TKelPropertyType::String;
    const char* EnumName = nullptr;                            // enumerations: the type's name
    const std::vector<std::string>* ValueNames = nullptr;      // enumerations and Booleans
    std::function<TKelValue(const TKelObject&)> Read;          // empty: write-only
    std::function<void(TKelObject&, const TKelValue&)> Write;  // empty: read-only
};

// A class as the registry and the property access see it.
struct TKelClass {
    std::string Name;
    const TKelClass* Base = nullptr;
    std::function<std::unique_ptr<TKelObject>()> Create;  // empty for abstract classes
    std::vector<TKelProperty> Properties;                 // the class's own published properties

    // The property of that exact name, of this class or of a base; none when there is none.
    const TKelProperty* FindProperty(const std::string& name) const;
};

// Declares the class description of a TKelObject descendant; define StaticClass in the source.
#define KEL_CLASS(Class)                         \
  public:                                        \
    static const TKelClass& StaticClass();       \
    const TKelClass& GetClass() const override { \
        return StaticClass();                    \
    }

class TKelObject {
  public:
    TKelObject() = default;
    virtual ~TKelObject() = default;
    TKelObject(const TKelObject&) = delete;
    TKelObject& operator=(const TKelObject&) = delete;

    static const TKelClass& StaticClass();
    virtual const TKelClass& GetClass() const { return StaticClass(); }

    std::string ParentName;        // published: the object of the same engine this one belongs to
    int32_t Tag = 0;               // published: free for the users
    TKelObject* Parent = nullptr;  // resolved from ParentName; not owned

    const std::string& Name() const { return name_; }
    // Takes the name unless another object of the engine has it; the refusal is reported to the
    // engine's OnError only and the old name stays. The same name again does nothing.
    virtual void SetName(const std::string& name);
    // Copies Tag and Engine; not the name, the parent name or the parent.
    virtual void Assign(const TKelObject& source);

    TKelEngine* GetEngine() const { return engine_; }
    void SetEngine(TKelEngine* engine) { engine_ = engine; }
    // Parent := the engine's object named ParentName; none when absent, when that is this object
    // or when the chain of parents leads back to this object.
    void ResolveParent();

  private:
    std::string name_;
    TKelEngine* engine_ = nullptr;
};

class TKelEngine {
  public:
    TKelEngine() = default;
    // Destroys the objects. A derived engine that overrides Clear calls it in its own destructor.
    virtual ~TKelEngine() { TKelEngine::Clear(); }
    TKelEngine(const TKelEngine&) = delete;
    TKelEngine& operator=(const TKelEngine&) = delete;

    // Receives the texts of failures that operations report nowhere else (refused renames).
    std::function<void(const std::string&)> OnError;

    const std::vector<std::unique_ptr<TKelObject>>& Objects() const { return objects_; }
    int ObjectCount() const { return static_cast<int>(objects_.size()); }
    TKelObject* GetObject(int index) const;

    // Appends the object (the engine owns it and becomes its engine); answers its index.
    int AddObject(std::unique_ptr<TKelObject> object);
    // Creates an object of the registered class, appends it, sets its engine and parent name and
    // names it (a duplicate name leaves it unnamed). -1 when the class is not registered.
    int CreateObject(const std::string& name, const std::string& parentName,
                     const std::string& className);
    // Destroys the object at the index (nothing outside the array); later ones move down.
    void DeleteObject(int index);
    virtual void DeleteObjectByName(const std::string& name);
    // The first object with exactly that name, -1 / none when there is none.
    int IndexOfObject(const std::string& name) const;
    TKelObject* FindObject(const std::string& name) const;
    // Resolves every object's parent; an object whose chain of parents returns to itself gets
    // none, so every chain ends.
    void ResolveParents();
    virtual void Clear();

    // Writes the published property of the named object from text; false when there is no such
    // object. An unknown property or a value that does not convert raises TKelCoreError.
    bool SetProperty(const std::string& objectName, const std::string& propertyName,
                     const std::string& value);
    // The published property's value (TKelValue), none when there is no such object. An unknown
    // or write-only property raises TKelCoreError.
    TKelValue GetProperty(const std::string& objectName, const std::string& propertyName) const;

  private:
    std::vector<std::unique_ptr<TKelObject>> objects_;
};

// Writes and reads a published property of an object with the conversions of the property
// tables (also used by the description loaders). Errors raise TKelCoreError.
void WriteProperty(TKelObject& object, const std::string& propertyName, const std::string& value);
TKelValue ReadProperty(const TKelObject& object, const std::string& propertyName);

// The program's registry of creatable classes; TKelObject is registered first. Modules register
// their classes before the first description is loaded.
class TKelClassReg {
  public:
    static TKelClassReg& Instance();
    // Appends a class; a class registered already stays where it is.
    void Add(const TKelClass& kelClass);
    // The first class of exactly that name, or none.
    const TKelClass* FindClass(const std::string& name) const;
    const std::vector<const TKelClass*>& Classes() const { return classes_; }

  private:
    TKelClassReg();
    std::vector<const TKelClass*> classes_;
};

// ---- Building property tables ----------------------------------------------------------------

// How a C++ value type is published and converted to and from TKelValue.
template <class T>
struct TKelPropertyTraits;

template <>
struct TKelPropertyTraits<std::string> {
    static constexpr TKelPropertyType Type = TKelPropertyType::String;
    static TKelValue ToValue(const std::string& v) { return v; }
    static std::string FromValue(const TKelValue& v) { return std::get<std::string>(v); }
};
template <>
struct TKelPropertyTraits<std::u32string> {
    static constexpr TKelPropertyType Type = TKelPropertyType::WideString;
    static TKelValue ToValue(const std::u32string& v) { return WideToUtf8(v); }
    static std::u32string FromValue(const TKelValue& v) {
        return Utf8ToWide(std::get<std::string>(v));
    }
};
template <>
struct TKelPropertyTraits<int32_t> {
    static constexpr TKelPropertyType Type = TKelPropertyType::Integer;
    static TKelValue ToValue(int32_t v) { return v; }
    static int32_t FromValue(const TKelValue& v) { return std::get<int32_t>(v); }
};
template <>
struct TKelPropertyTraits<uint8_t> {
    static constexpr TKelPropertyType Type = TKelPropertyType::Byte;
    static TKelValue ToValue(uint8_t v) { return static_cast<int32_t>(v); }
    static uint8_t FromValue(const TKelValue& v) {
        return static_cast<uint8_t>(std::get<int32_t>(v));
    }
};
template <>
struct TKelPropertyTraits<bool> {
    static constexpr TKelPropertyType Type = TKelPropertyType::Boolean;
    static TKelValue ToValue(bool v) { return static_cast<int32_t>(v); }
    static bool FromValue(const TKelValue& v) { return std::get<int32_t>(v) != 0; }
};
template <class E>
requires std::is_enum_v<E>
struct TKelPropertyTraits<E> {
    static constexpr TKelPropertyType Type = TKelPropertyType::Enumeration;
    static TKelValue ToValue(E v) { return static_cast<int32_t>(v); }
    static E FromValue(const TKelValue& v) { return static_cast<E>(std::get<int32_t>(v)); }
};

namespace KelPropertyDetail {
template <class T>
void DescribeType(TKelProperty& property) {
    property.Type = TKelPropertyTraits<T>::Type;
    if constexpr (std::is_enum_v<T> || std::is_same_v<T, bool>) {
        property.EnumName = KelEnumNames<T>::TypeName;
        property.ValueNames = &KelEnumNames<T>::Values();
    }
}
}  // namespace KelPropertyDetail

// A property read and written as a plain field. `type` tells UTF-8 text from 8-bit text.
template <class C, class T>
TKelProperty Field(const char* name, T C::*field,
                   TKelPropertyType type = TKelPropertyTraits<T>::Type) {
    TKelProperty property;
    property.Name = name;
    KelPropertyDetail::DescribeType<T>(property);
    property.Type = type;
    property.Read = [field](const TKelObject& object) {
        return TKelPropertyTraits<T>::ToValue(static_cast<const C&>(object).*field);
    };
    property.Write = [field](TKelObject& object, const TKelValue& value) {
        static_cast<C&>(object).*field = TKelPropertyTraits<T>::FromValue(value);
    };
    return property;
}

// A property read and written through functions (member function pointers or callables taking
// the object); either may be nullptr for a write-only or read-only property.
template <class C, class T>
TKelProperty Accessor(const char* name, std::function<T(const C&)> read,
                      std::function<void(C&, const T&)> write,
                      TKelPropertyType type = TKelPropertyTraits<T>::Type) {
    TKelProperty property;
    property.Name = name;
    KelPropertyDetail::DescribeType<T>(property);
    property.Type = type;
    if (read)
        property.Read = [read](const TKelObject& object) {
            return TKelPropertyTraits<T>::ToValue(read(static_cast<const C&>(object)));
        };
    if (write)
        property.Write = [write](TKelObject& object, const TKelValue& value) {
            write(static_cast<C&>(object), TKelPropertyTraits<T>::FromValue(value));
        };
    return property;
}

// The description of class C; creatable unless C is abstract.
template <class C>
TKelClass MakeKelClass(const char* name, const TKelClass* base,
                       std::vector<TKelProperty> properties) {
    TKelClass kelClass;
    kelClass.Name = name;
    kelClass.Base = base;
    if constexpr (!std::is_abstract_v<C>)
        kelClass.Create = [] { return std::unique_ptr<TKelObject>(std::make_unique<C>()); };
    kelClass.Properties = std::move(properties);
    return kelClass;
}
