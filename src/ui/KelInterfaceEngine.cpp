// The interface engine's descriptions: creating objects from the "o" elements with their default
// lines, resolving and attaching them, applying properties, language files and their undoing,
// and deleting objects.
#include "ui/KelInterfaceEngine.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "core/CoreError.h"
#include "core/KelParserText.h"

namespace {

const std::string CreatePrefix = "[TKelInterfaceEngine.CreateInterfaceObjects] ";

// The text of the last "p" child named name (n attribute), or empty.
std::string LastPropertyText(const TKelXMLTag& object, const std::string& name) {
    std::string text;
    for (const auto& p : object.Tags()) {
        const TKelParserAttribute* n = p->FindAttribute("n");
        if (p->Name == "p" && n && n->Value == name) text = p->Text;
    }
    return text;
}

bool IsPropertyTag(const TKelXMLTag& tag) {
    return tag.Name == "p" && tag.AttributeCount() == 1 && tag.GetAttribute(0)->Name == "n";
}

std::string ClassOf(const TKelXMLTag& object) {
    const TKelParserAttribute* c = object.FindAttribute("c");
    return c ? c->Value : "";
}

}  // namespace

TKelInterfaceEngine::TKelInterfaceEngine() {
    Clock = [] {
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
    };
}

TKelInterfaceEngine::~TKelInterfaceEngine() {
    TKelInterfaceEngine::Clear();
}

void TKelInterfaceEngine::RegisterHandler(const std::string& name, std::function<void()> handler) {
    handlers_[name] = std::move(handler);
}

void TKelInterfaceEngine::Report(const std::string& text) const {
    if (OnError) OnError(text);
}

std::vector<TKelForm*> TKelInterfaceEngine::Forms() const {
    std::vector<TKelForm*> forms;
    for (const auto& object : Objects())
        if (auto* form = dynamic_cast<TKelForm*>(object.get())) forms.push_back(form);
    return forms;
}

void TKelInterfaceEngine::LoadFromString(const std::string& bytes) {
    parser_.LoadFromString(bytes);
    loadError_.clear();
    const TKelXMLTag* root = parser_.GetTag(0);
    if (root)
        if (const TKelParserAttribute* version = root->FindAttribute("Version"))
            infoLine_ = "KelInterafce XML file: V" + version->Value;
    UpdateScreenSize();
    if (root)
        CreateObjects(*root);
    else
        loadError_ = CreatePrefix + "XML file does not has tags!";
    ResolveParents();
    for (TKelForm* form : Forms()) form->CollectChildren();
    if (root) {
        State = ReadingState;
        ApplyProperties(*root, false);
        State.clear();
    }
    for (TKelForm* form : Forms()) form->BuildFocusList();
    for (const auto& object : Objects())
        if (auto* ui = dynamic_cast<TKelInterfaceObject*>(object.get())) ui->ClearDirty();
}

void TKelInterfaceEngine::LoadFromStream(TMemoryStream& stream) {
    const std::vector<uint8_t>& bytes = stream.Bytes();
    const size_t from = std::min(bytes.size(), stream.Position());
    LoadFromString(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end()));
    stream.SetPosition(bytes.size());
}

void TKelInterfaceEngine::CreateObjects(const TKelXMLTag& root) {
    if (root.TagCount() > 0 && root.Name != "KelInterface") {
        loadError_ = CreatePrefix + "XML file does not has \"KelInterface\" tag!";
        return;
    }
    for (const auto& object : root.Tags()) {
        if (object->Name != "o") {
            loadError_ = CreatePrefix + "KelInterface XML file contains wrong tag!";
            return;
        }
        if (object->AttributeCount() != 1) {
            loadError_ = CreatePrefix + "Tag <o> has wrong number of attributes!";
            return;
        }
        if (object->GetAttribute(0)->Name != "c") {
            loadError_ = CreatePrefix + "Tag <o> does not has \"c\" attribute!";
            return;
        }
        if (object->TagCount() == 0) {
            loadError_ = CreatePrefix + "Tag <o> does not has subtags!";
            return;
        }
        const std::string className = object->GetAttribute(0)->Value;
        const std::string classPart = CreatePrefix + "[ClassName:" + className + "] ";
        const bool defaults = className == "TKelDefaults";
        std::string name, parentName;
        // Default lines add "p" elements to the description, possibly to this very element, so the
        // children are walked by index.
        for (int i = 0; i < object->TagCount(); ++i) {
            const TKelXMLTag& p = *object->GetTag(i);
            if (p.Name != "p") {
                loadError_ = classPart + "Tag <o> contains wrong subtag!";
                return;
            }
            if (p.AttributeCount() != 1) {
                loadError_ = classPart + "Tag <p> has wrong number of attributes!";
                return;
            }
            const TKelParserAttribute& n = *p.GetAttribute(0);
            if (n.Name != "n") {
                loadError_ = classPart + "Tag <p> does not has \"n\" attribute!";
                return;
            }
            if (defaults) {
                if (n.Value != "DefLine") {
                    loadError_ = classPart + "Tag <p> has wrong \"n\" attribute value!";
                    return;
                }
                ApplyDefaultLine(root, p.Text);
            } else if (n.Value == "Name") {
                name = p.Text;
            } else if (n.Value == "ParentName") {
                parentName = p.Text;
            }
        }
        if (defaults) continue;
        const bool creatable = TKelClassReg::Instance().FindClass(className) != nullptr;
        if (creatable && (name.empty() || parentName.empty())) {
            loadError_ = classPart + "Attribute <n> does not has Name: \"" + name + "\" or \"" +
                         parentName + "\"!";
            return;
        }
        if (creatable && CreateObject(name, parentName, className) >= 0) {
            // A duplicate name leaves the new object unnamed; it cannot be reached, so it goes.
            TKelObject* created = GetObject(ObjectCount() - 1);
            if (created->Name() != name) {
                Report(classPart + "The name \"" + name + "\" is present; the object is skipped");
                DeleteObject(ObjectCount() - 1);
            }
        }
    }
}

void TKelInterfaceEngine::ApplyDefaultLine(const TKelXMLTag& root, const std::string& line) {
    const size_t first = line.find(';');
    const size_t second = first == std::string::npos ? first : line.find(';', first + 1);
    if (second == std::string::npos) return;
    const std::string className = Trim(line.substr(0, first));
    const std::string property = Trim(line.substr(first + 1, second - first - 1));
    const std::string value = line.substr(second + 1);
    for (const auto& object : root.Tags()) {
        if (object->Name != "o" || ClassOf(*object) != className || object->TagCount() == 0)
            continue;
        const bool setsItself =
            std::any_of(object->Tags().begin(), object->Tags().end(), [&](const auto& p) {
                const TKelParserAttribute* n = p->FindAttribute("n");
                return p->Name == "p" && n && n->Value == property;
            });
        if (setsItself) continue;
        object->AddTag("p", value)->AddAttribute("n", property);
    }
}

void TKelInterfaceEngine::ApplyProperties(const TKelXMLTag& root, bool record) {
    int first = 0;
    if (!record && root.QueryTag("o(c\"TKelDefaults\")")) first = 1;
    for (int i = first; i < root.TagCount(); ++i) {
        const TKelXMLTag& object = *root.GetTag(i);
        if (object.Name != "o" || object.TagCount() == 0) continue;
        if (!std::all_of(object.Tags().begin(), object.Tags().end(),
                         [](const auto& p) { return IsPropertyTag(*p); }))
            return;
        const std::string name = LastPropertyText(object, "Name");
        TKelObject* target = FindObject(name);
        if (!target) continue;
        for (const auto& p : object.Tags()) {
            const std::string property = p->GetAttribute(0)->Value;
            // The object may have been renamed by an earlier "Name" property of this element.
            const std::string objectName = target->Name();
            const bool recording = record && property != "Name";
            const std::string before =
                recording ? ValueToText(ReadProperty(*target, property)) : std::string();
            try {
                WriteProperty(*target, property, p->Text);
            } catch (const std::exception& error) {
                Report("[TKelInterfaceEngine] " + objectName + "." + property + ": " +
                       error.what());
                continue;
            }
            if (recording) Record(objectName, property, before);
        }
    }
}

void TKelInterfaceEngine::Record(const std::string& object, const std::string& property,
                                 const std::string& value) {
    for (const auto& mod : modifiedProperties_.Tags())
        if (mod->FindAttribute("Object")->Value == object &&
            mod->FindAttribute("Prop")->Value == property)
            return;
    TKelXMLTag* mod = modifiedProperties_.AddTag("ModProp", value);
    mod->AddAttribute("Object", object);
    mod->AddAttribute("Prop", property);
}

void TKelInterfaceEngine::LoadFromFile(const std::string& fileName) {
    parser_.LoadFromFile(fileName);
    if (const TKelXMLTag* root = parser_.GetTag(0)) ApplyProperties(*root, true);
}

void TKelInterfaceEngine::LoadLanguageFromString(const std::string& bytes) {
    parser_.LoadFromString(bytes);
    if (const TKelXMLTag* root = parser_.GetTag(0)) ApplyProperties(*root, true);
}

void TKelInterfaceEngine::RestoreProperties() {
    for (const auto& mod : modifiedProperties_.Tags()) {
        const std::string object = mod->FindAttribute("Object")->Value;
        const std::string property = mod->FindAttribute("Prop")->Value;
        try {
            SetProperty(object, property, mod->Text);
        } catch (const std::exception& error) {
            Report("[TKelInterfaceEngine.RestoreProperties] " + object + "." + property + ": " +
                   error.what());
        }
    }
}

std::string TKelInterfaceEngine::GetInfo() const {
    return "KelInterfaceInfo:\r\n\t\t" + infoLine_ +
           "\r\n\t\tKelInterfaceEngine: V3.08 (23.12.05)\r\n\t\tKelInterfaceClasses: V3.13 "
           "(12.05.06)";
}

void TKelInterfaceEngine::UpdateScreenSize() {
    if (!Host) return;
    int width = 0, height = 0;
    Host->GetScreenSize(width, height);
    if (width == screenWidth_ && height == screenHeight_) return;
    screenWidth_ = width;
    screenHeight_ = height;
    for (const auto& object : Objects())
        if (&object->GetClass() == &TKelForm::StaticClass())
            static_cast<TKelForm*>(object.get())->UpdateLayout();
}

std::string TKelInterfaceEngine::GetAllPictures() const {
    std::vector<std::string> names;
    for (const TKelForm* form : Forms()) {
        const std::string list = form->GetPictures();
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find("\r\n", start);
            if (end == std::string::npos) end = list.size();
            std::string name = list.substr(start, end - start);
            if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(std::move(name));
            start = end + 2;
        }
    }
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : "\r\n") + name;
    return text;
}

void TKelInterfaceEngine::ReattachAll() {
    std::erase_if(modalStack_, [this](const TKelForm* form) {
        return std::none_of(Objects().begin(), Objects().end(),
                            [form](const auto& object) { return object.get() == form; });
    });
    ResolveParents();
    for (TKelForm* form : Forms()) {
        form->CollectChildren();
        form->BuildFocusList();
    }
}

void TKelInterfaceEngine::DeleteObjectByName(const std::string& name) {
    const TKelObject* target = FindObject(name);
    if (!target) return;
    // The object and every object inside it, however deep.
    std::set<const TKelObject*> doomed{target};
    for (const auto& object : Objects()) {
        int steps = ObjectCount();
        for (const TKelObject* up = object->Parent; up && steps >= 0; up = up->Parent, --steps)
            if (up == target) doomed.insert(object.get());
    }
    for (int i = ObjectCount() - 1; i >= 0; --i)
        if (doomed.count(GetObject(i))) DeleteObject(i);
    ReattachAll();
}

void TKelInterfaceEngine::Clear() {
    modalStack_.clear();
    TKelEngine::Clear();
    scriptQueue_.ClearTags();
    modifiedProperties_.ClearTags();
    senderName_.clear();
}
