// The interface engine's script queue and its commands.
#include "core/KelParserText.h"
#include "ui/KelInterfaceEngine.h"

void TKelInterfaceEngine::QueueScript(const std::string& senderName, const std::string& script) {
    if (script.empty()) return;
    TKelXMLTag* entry = scriptQueue_.AddTag("Script");
    entry->AddAttribute("Sender", senderName);
    senderName_ = senderName;
    bool quoted = false;
    std::string command;
    for (char c : script) {
        if (c == '"') quoted = !quoted;
        if (c != ';' || quoted) {
            command += c;
            continue;
        }
        // Text after the last ";" is not a command.
        if (const std::string text = Trim(command); !text.empty()) entry->AddTagByString(text);
        command.clear();
    }
}

void TKelInterfaceEngine::RunScripts() {
    // Every queued script runs, then the queue is emptied: scripts that the commands queue in
    // turn (a grid whose position a handler sets) go with it rather than waiting for the next
    // input. A run started from inside a command leaves the queue to the run already going.
    if (scriptsRunning_) return;
    scriptsRunning_ = true;
    struct TEmptyAfterRun {
        TKelInterfaceEngine& Engine;
        ~TEmptyAfterRun() {
            Engine.scriptQueue_.ClearTags();
            Engine.scriptsRunning_ = false;
        }
    } emptyAfterRun{*this};
    TKelXMLTag queue;  // the commands may add to the queue while they run
    queue.Assign(scriptQueue_);
    for (const auto& script : queue.Tags())
        for (const auto& command : script->Tags()) RunCommand(*command);
    // The scripts may have hidden the focused stop (a button that swaps itself for another) or
    // shown another window's pages.
    if (TKelForm* top = TopForm(); top && keyNavigation_) top->KeepKeyFocus();
}

void TKelInterfaceEngine::DropScriptsOf(const std::string& senderName) {
    for (int i = scriptQueue_.TagCount() - 1; i >= 0; --i) {
        const TKelParserAttribute* sender = scriptQueue_.GetTag(i)->FindAttribute("Sender");
        if (sender && sender->Value == senderName) scriptQueue_.DeleteTag(i);
    }
}

void TKelInterfaceEngine::RunCommand(const TKelXMLTag& command) {
    const auto attribute = [&command](const char* name) { return command.FindAttribute(name); };
    const std::string& name = command.Name;
    if (name == "PlaySound") {
        if (const TKelParserAttribute* sound = attribute("Sound"); sound && Host)
            Host->PlaySound(sound->Value);
    } else if (name == "ShowModal") {
        if (const TKelParserAttribute* form = attribute("Form")) ShowModal(form->Value);
    } else if (name == "HideModal") {
        if (const TKelParserAttribute* form = attribute("Form"))
            HideModal(form->Value);
        else
            HideTopModal();
    } else if (name == "HideModalList") {
        HideModalList();
    } else if (name == "ChangeModal") {
        const TKelParserAttribute* hide = attribute("HideForm");
        const TKelParserAttribute* show = attribute("ShowForm");
        if (hide && show)
            ChangeModal(hide->Value, show->Value);
        else if (show)
            ChangeModal(show->Value);
    } else if (name == "ExecMethod") {
        if (const TKelParserAttribute* method = attribute("Method")) {
            const auto handler = handlers_.find(method->Value);
            if (handler != handlers_.end() && handler->second) handler->second();
        }
    } else if (name == "SetProp") {
        const TKelParserAttribute* object = attribute("Object");
        const TKelParserAttribute* property = attribute("Prop");
        const TKelParserAttribute* value = attribute("Value");
        if (object && property && value) SetProperty(object->Value, property->Value, value->Value);
    }
}
