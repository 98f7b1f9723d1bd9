#pragma once
// What the library's application window answers when a module asks it a
// question: SendMessage(main window, kModuleQueryMessage, data, id). Numbers
// are answered as they are, texts as pointers into this object's buffers, one
// buffer per kind of question: a text holds until the next question of the
// same kind, and a pointer a module keeps never dangles (it then reads the
// newer answer). Unknown questions, indexes out of range, texts too long for
// a buffer and questions asked while there is no window object answer 0.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qel {

class Tformplug;

// The player version modules are told: modules of later player versions then
// ask for their settings folder instead of writing beside the host program.
constexpr int32_t kModulePlayerVersion = 0x5000;
// The settings file modules are given, in the plug-in's own settings folder.
constexpr const char* kModuleSettingsFile = "qelplugin.ini";

class ModuleQueries {
public:
    // form: the window object, or null.
    intptr_t Answer(Tformplug* form, int32_t data, int32_t id);

    static constexpr size_t kTextCapacity = 4096;  // in units, the terminating zero included
    static constexpr size_t kTextKinds = 5;        // questions with a text answer, in each width

private:
    intptr_t Text(const std::string& text, size_t kind, bool wide);

    std::array<std::array<char, kTextCapacity>, kTextKinds> narrow_{};
    std::array<std::array<char16_t, kTextCapacity>, kTextKinds> wide_{};
};

// The library's one instance: its buffers live as long as the library.
ModuleQueries& LibraryQueries();

}  // namespace qel
