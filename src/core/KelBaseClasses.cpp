// Named objects, engines, the class registry and published property access. Relies on
// KelParserText for the conversions and on CoreError.
#include "core/KelBaseClasses.h"

#include "core/CoreError.h"
#include "core/KelParserText.h"

std::string ValueToText(const TKelValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
    return {};
}

const TKelProperty* TKelClass::FindProperty(const std::string& name) const {
    for (const TKelClass* kelClass = this; kelClass; kelClass = kelClass->Base)
        for (const TKelProperty& property : kelClass->Properties)
            if (property.Name == name) return &property;
    return nullptr;
}

// ---- Objects ---------------------------------------------------------------------------------

const TKelClass& TKelObject::StaticClass() {
    static const TKelClass info = MakeKelClass<TKelObject>(
        "TKelObject", nullptr,
        {Field("ParentName", &TKelObject::ParentName),
         Accessor<TKelObject, std::string>("Name", &TKelObject::Name, &TKelObject::SetName),
         Field("Tag", &TKelObject::Tag)});
    return info;
}

void TKelObject::SetName(const std::string& name) {
    if (name == name_) return;
    if (engine_ && engine_->IndexOfObject(name) >= 0) {
        if (engine_->OnError)
            engine_->OnError("[TKelBaseClasses.SetName] The name \"" + name + "\" is present !");
        return;
    }
    name_ = name;
}

void TKelObject::Assign(const TKelObject& source) {
    Tag = source.Tag;
    engine_ = source.engine_;
}

void TKelObject::ResolveParent() {
    Parent = nullptr;
    if (!engine_) return;
    TKelObject* candidate = engine_->FindObject(ParentName);
    // The chain is bounded by the number of objects, so a cycle elsewhere cannot hang the walk.
    int steps = engine_->ObjectCount();
    for (const TKelObject* up = candidate; up && steps >= 0; up = up->Parent, --steps)
        if (up == this) return;
    Parent = candidate;
}

// ---- Engines ---------------------------------------------------------------------------------

TKelObject* TKelEngine::GetObject(int index) const {
    if (index < 0 || index >= ObjectCount()) return nullptr;
    return objects_[static_cast<size_t>(index)].get();
}

int TKelEngine::AddObject(std::unique_ptr<TKelObject> object) {
    object->SetEngine(this);
    objects_.push_back(std::move(object));
    return ObjectCount() - 1;
}

int TKelEngine::CreateObject(const std::string& name, const std::string& parentName,
                             const std::string& className) {
    const TKelClass* kelClass = TKelClassReg::Instance().FindClass(className);
    if (!kelClass || !kelClass->Create) return -1;
    std::unique_ptr<TKelObject> object = kelClass->Create();
    TKelObject* created = object.get();
    const int index = AddObject(std::move(object));
    created->ParentName = parentName;
    created->SetName(name);
    return index;
}

void TKelEngine::DeleteObject(int index) {
    if (index < 0 || index >= ObjectCount()) return;
    const std::unique_ptr<TKelObject> object = std::move(objects_[static_cast<size_t>(index)]);
    objects_.erase(objects_.begin() + index);
    // No parent link may outlive the object it points to.
    for (const auto& other : objects_)
        if (other->Parent == object.get()) other->Parent = nullptr;
}

void TKelEngine::DeleteObjectByName(const std::string& name) {
    DeleteObject(IndexOfObject(name));
}

int TKelEngine::IndexOfObject(const std::string& name) const {
    for (int i = 0; i < ObjectCount(); ++i)
        if (objects_[static_cast<size_t>(i)]->Name() == name) return i;
    return -1;
}

TKelObject* TKelEngine::FindObject(const std::string& name) const {
    return GetObject(IndexOfObject(name));
}

void TKelEngine::ResolveParents() {
    for (const auto& object : objects_) object->Parent = FindObject(object->ParentName);
    // Objects on a cycle of parents become top-level; the cycles are found before any link is
    // cut, so every member of a cycle is treated alike.
    std::vector<TKelObject*> onCycle;
    for (const auto& object : objects_) {
        int steps = ObjectCount();
        for (const TKelObject* up = object->Parent; up && steps >= 0; up = up->Parent, --steps) {
            if (up != object.get()) continue;
            onCycle.push_back(object.get());
            break;
        }
    }
    for (TKelObject* object : onCycle) object->Parent = nullptr;
}

void TKelEngine::Clear() {
    objects_.clear();
}

bool TKelEngine::SetProperty(const std::string& objectName, const std::string& propertyName,
                             const std::string& value) {
    TKelObject* object = FindObject(objectName);
    if (!object) return false;
    WriteProperty(*object, propertyName, value);
    return true;
}

TKelValue TKelEngine::GetProperty(const std::string& objectName,
                                  const std::string& propertyName) const {
    const TKelObject* object = FindObject(objectName);
    if (!object) return {};
    return ReadProperty(*object, propertyName);
}

// ---- Property conversions --------------------------------------------------------------------

static const TKelProperty& PropertyOf(const TKelObject& object, const std::string& name) {
    const TKelProperty* property = object.GetClass().FindProperty(name);
    if (!property)
        throw TKelCoreError("Unknown property \"" + name + "\" of class " + object.GetClass().Name);
    return *property;
}

static TKelCoreError InvalidValue(const TKelProperty& property, const std::string& text,
                                  const std::string& expected) {
    return TKelCoreError("\"" + text + "\" is not a valid value of the property \"" +
                         property.Name + "\" (" + expected + ")");
}

void WriteProperty(TKelObject& object, const std::string& propertyName, const std::string& text) {
    const TKelProperty& property = PropertyOf(object, propertyName);
    if (!property.Write) throw TKelCoreError("The property \"" + propertyName + "\" is read-only");
    TKelValue value;
    int32_t number = 0;
    switch (property.Type) {
        case TKelPropertyType::String:
        case TKelPropertyType::Utf8String:
        case TKelPropertyType::WideString:
            value = text;
            break;
        case TKelPropertyType::Integer:
            if (!TryStrToInt(text, number)) throw InvalidValue(property, text, "a whole number");
            value = number;
            break;
        case TKelPropertyType::Byte:
            if (!TryStrToInt(text, number) || number < 0 || number > 255)
                throw InvalidValue(property, text, "a whole number from 0 to 255");
            value = number;
            break;
        case TKelPropertyType::Boolean:
        case TKelPropertyType::Enumeration: {
            if (!property.ValueNames)
                throw TKelCoreError("The property \"" + propertyName + "\" has no value names");
            const std::vector<std::string>& names = *property.ValueNames;
            size_t ordinal = 0;
            while (ordinal < names.size() && !SameText(names[ordinal], text)) ++ordinal;
            if (ordinal == names.size())
                throw InvalidValue(property, text,
                                   property.EnumName ? property.EnumName : "a value name");
            value = static_cast<int32_t>(ordinal);
            break;
        }
    }
    property.Write(object, value);
}

TKelValue ReadProperty(const TKelObject& object, const std::string& propertyName) {
    const TKelProperty& property = PropertyOf(object, propertyName);
    if (!property.Read) throw TKelCoreError("The property \"" + propertyName + "\" is write-only");
    TKelValue value = property.Read(object);
    if (property.ValueNames) {
        const int32_t ordinal = std::get<int32_t>(value);
        if (ordinal >= 0 && static_cast<size_t>(ordinal) < property.ValueNames->size())
            value = (*property.ValueNames)[static_cast<size_t>(ordinal)];
    }
    return value;
}

// ---- Registry --------------------------------------------------------------------------------

TKelClassReg::TKelClassReg() {
    Add(TKelObject::StaticClass());
}

TKelClassReg& TKelClassReg::Instance() {
    static TKelClassReg registry;
    return registry;
}

void TKelClassReg::Add(const TKelClass& kelClass) {
    for (const TKelClass* known : classes_)
        if (known == &kelClass) return;
    classes_.push_back(&kelClass);
}

const TKelClass* TKelClassReg::FindClass(const std::string& name) const {
    for (const TKelClass* kelClass : classes_)
        if (kelClass->Name == name) return kelClass;
    return nullptr;
}
