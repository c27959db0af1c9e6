// Reading the game's scripts.
#include "app/GameScript.h"

#include <array>
#include <charconv>
#include <climits>
#include <map>
#include <sstream>

#include "rules/Board.h"

namespace {

struct TCommandForm {
    TScriptOp Op;
    const char* Usage;  // the command and its arguments, for reports
    size_t Arguments;
};

const std::map<std::string, TCommandForm> Commands = {
    {"wait", {TScriptOp::Wait, "wait MS", 1}},
    {"wait-top", {TScriptOp::WaitTop, "wait-top WINDOW MS", 2}},
    {"press", {TScriptOp::Press, "press OBJECT", 1}},
    {"click", {TScriptOp::Click, "click X Y", 2}},
    {"rclick", {TScriptOp::RightClick, "rclick X Y", 2}},
    {"move", {TScriptOp::Move, "move X Y", 2}},
    {"cell", {TScriptOp::Click, "cell C R", 2}},
    {"key", {TScriptOp::Key, "key NAME", 1}},
    {"type", {TScriptOp::Type, "type TEXT", 0}},
    {"expect-top", {TScriptOp::ExpectTop, "expect-top WINDOW", 1}},
    {"expect-state", {TScriptOp::ExpectState, "expect-state STATE", 1}},
    {"shot", {TScriptOp::Shot, "shot NAME", 1}},
    {"dump", {TScriptOp::Dump, "dump", 0}},
    {"windows", {TScriptOp::Windows, "windows", 0}},
    {"quit", {TScriptOp::Quit, "quit", 0}},
};

struct TKeyName {
    int Key;
    TShiftState Shift;
};

std::map<std::string, TKeyName> MakeKeyNames() {
    std::map<std::string, TKeyName> names = {
        {"Space", {vk::Space, 0}},
        {"Left", {vk::Left, 0}},
        {"Right", {vk::Right, 0}},
        {"Up", {vk::Up, 0}},
        {"Down", {vk::Down, 0}},
        {"Delete", {vk::Delete, 0}},
        {"Escape", {vk::Escape, 0}},
        {"Return", {vk::Return, 0}},
        {"Tab", {vk::Tab, 0}},
        {"Shift+Tab", {vk::Tab, ssShift}},
        {"Pause", {vk::Pause, 0}},
        {"Backspace", {vk::Back, 0}},
        {"Alt+Return", {vk::Return, ssAlt}},
    };
    for (int number = 1; number <= 12; ++number)
        names["F" + std::to_string(number)] = {vk::F1 + number - 1, 0};
    return names;
}

const std::map<std::string, TKeyName> KeyNames = MakeKeyNames();

}  // namespace

bool FindKeyName(const std::string& name, int& key, TShiftState& shift) {
    const auto found = KeyNames.find(name);
    if (found == KeyNames.end()) return false;
    key = found->second.Key;
    shift = found->second.Shift;
    return true;
}

namespace {

constexpr std::array<TGameState, 6> States = {gsNone,  gsGame, gsBetweenLevels,
                                              gsPause, gsMenu, gsInstructions};

// A bad line: the reason, reported with the line's number.
struct TBadLine {
    std::string Reason;
};

template <class Number>
Number ReadNumber(const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || last != end) throw TBadLine{"bad number '" + text + "'"};
    return value;
}

uint32_t ReadMs(const std::string& text) {
    const uint32_t ms = ReadNumber<uint32_t>(text);
    // The game clock compares times as differences below 2^31.
    if (ms > uint32_t(INT32_MAX)) throw TBadLine{"bad number '" + text + "'"};
    return ms;
}

// The code points of UTF-8 text; malformed, overlong or surrogate sequences are refused.
std::vector<uint32_t> DecodeStrictUtf8(const std::string& text) {
    std::vector<uint32_t> points;
    for (size_t i = 0; i < text.size();) {
        const uint8_t lead = uint8_t(text[i]);
        size_t length = 1;
        uint32_t point = lead, least = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, point = lead & 0x07, least = 0x10000;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3, point = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2, point = lead & 0x1F, least = 0x80;
        } else if (lead >= 0x80) {
            throw TBadLine{"the text is not UTF-8"};
        }
        if (text.size() - i < length) throw TBadLine{"the text is not UTF-8"};
        for (size_t k = 1; k < length; ++k) {
            const uint8_t next = uint8_t(text[i + k]);
            if ((next & 0xC0) != 0x80) throw TBadLine{"the text is not UTF-8"};
            point = point << 6 | (next & 0x3F);
        }
        if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            throw TBadLine{"the text is not UTF-8"};
        points.push_back(point);
        i += length;
    }
    return points;
}

// A frame's file name: letters, digits, '-', '_' and '.', not starting with '.'.
bool GoodShotName(const std::string& name) {
    if (name.empty() || name[0] == '.') return false;
    for (const char c : name) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '-' && c != '_' && c != '.') return false;
    }
    return true;
}

// A window name of "wait-top" and "expect-top": "none" stands for the empty stack.
std::string WindowName(const std::string& word) {
    return word == "none" ? std::string() : word;
}

void ReadPoint(const std::string& x, const std::string& y, TScriptCommand& command) {
    command.X = ReadNumber<int>(x);
    command.Y = ReadNumber<int>(y);
    if (command.X < 0 || command.Y < 0 || command.X >= ScreenWidth || command.Y >= ScreenHeight)
        throw TBadLine{"(" + x + ", " + y + ") is off the 800x600 frame"};
}

TScriptCommand ParseLine(const std::string& line, bool haveFrames) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    TScriptCommand command;
    command.Source = line;
    const auto form = Commands.find(words[0]);
    if (form == Commands.end()) throw TBadLine{"unknown command '" + words[0] + "'"};
    command.Op = form->second.Op;
    if (command.Op == TScriptOp::Type) {
        // The rest of the line after "type ", spaces included.
        const std::string text = line.size() > 5 && line[4] == ' ' ? line.substr(5) : "";
        if (text.empty()) throw TBadLine{"expected: type TEXT"};
        command.Text = DecodeStrictUtf8(text);
        return command;
    }
    if (words.size() - 1 != form->second.Arguments)
        throw TBadLine{std::string("expected: ") + form->second.Usage};
    switch (command.Op) {
        case TScriptOp::Wait:
            command.Ms = ReadMs(words[1]);
            break;
        case TScriptOp::WaitTop:
            command.Name = WindowName(words[1]);
            command.Ms = ReadMs(words[2]);
            break;
        case TScriptOp::ExpectTop:
            command.Name = WindowName(words[1]);
            break;
        case TScriptOp::Press:
            command.Name = words[1];
            break;
        case TScriptOp::Click:
            if (words[0] == "cell") {
                const int col = ReadNumber<int>(words[1]), row = ReadNumber<int>(words[2]);
                if (!TBoard::InRange(col, row))
                    throw TBadLine{"cell (" + words[1] + ", " + words[2] + ") is off the board"};
                const TPoint centre = CellCentre(col, row);
                command.X = centre.X;
                command.Y = centre.Y;
            } else {
                ReadPoint(words[1], words[2], command);
            }
            break;
        case TScriptOp::RightClick:
        case TScriptOp::Move:
            ReadPoint(words[1], words[2], command);
            break;
        case TScriptOp::Key: {
            if (!FindKeyName(words[1], command.Key, command.Shift))
                throw TBadLine{"unknown key '" + words[1] + "'"};
            break;
        }
        case TScriptOp::ExpectState: {
            command.Name = words[1];
            bool known = false;
            for (const TGameState state : States) {
                if (GameStateName(state) != words[1]) continue;
                command.State = state;
                known = true;
            }
            if (!known) throw TBadLine{"unknown state '" + words[1] + "'"};
            break;
        }
        case TScriptOp::Shot:
            if (!haveFrames) throw TBadLine{"shot needs --frames DIR"};
            if (!GoodShotName(words[1])) throw TBadLine{"bad frame name '" + words[1] + "'"};
            command.Name = words[1];
            break;
        case TScriptOp::Type:
        case TScriptOp::Dump:
        case TScriptOp::Windows:
        case TScriptOp::Quit:
            break;
    }
    return command;
}

}  // namespace

TGameScript ParseGameScript(const std::string& text, bool haveFrames) {
    TGameScript script;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        try {
            if (!script.Commands.empty() && script.Commands.back().Op == TScriptOp::Quit)
                throw TBadLine{"nothing may follow quit"};
            TScriptCommand command = ParseLine(line.substr(first), haveFrames);
            command.Line = number;
            script.Commands.push_back(std::move(command));
        } catch (const TBadLine& bad) {
            script.Commands.clear();
            script.ErrorLine = number;
            script.Error = bad.Reason;
            break;
        }
    }
    return script;
}

std::string GameStateName(TGameState state) {
    switch (state) {
        case gsNone:
            return "gsNone";
        case gsGame:
            return "gsGame";
        case gsBetweenLevels:
            return "gsBetweenLevels";
        case gsPause:
            return "gsPause";
        case gsMenu:
            return "gsMenu";
        case gsInstructions:
            return "gsInstructions";
    }
    return "state " + std::to_string(int(state));
}
