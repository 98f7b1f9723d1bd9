#include "host/ExportTable.h"

#include <array>

namespace qel {

namespace {

constexpr ExportEntry kTable[] = {
#define QEL_COMMAND(name, ordinal, second) {#name, ordinal, second, ExportKind::Command, &exports::name},
#define QEL_EMPTY(name, ordinal, second) {#name, ordinal, second, ExportKind::Empty, &exports::name},
#define QEL_SOUND_FIELD(name, ordinal, field) {#name, ordinal, 0, ExportKind::SoundField, &exports::name},
#define QEL_TAG_FIELD(name, ordinal, field) {#name, ordinal, 0, ExportKind::TagField, &exports::name},
#define QEL_ENTRY(name, ordinal, second) {#name, ordinal, second, ExportKind::Entry, nullptr},
#include "host/ExportTable.inc"
};

}  // namespace

std::span<const ExportEntry> ExportTable() { return kTable; }

const ExportEntry* FindExport(std::string_view name) {
    for (const ExportEntry& entry : kTable)
        if (entry.name == name) return &entry;
    return nullptr;
}

void RunExport(ExportHandler handler) noexcept {
    PluginState& plugin = Plugin();
    if (plugin.form == nullptr || handler == nullptr) return;
    try {
        FormCall call;
        handler(plugin);
    } catch (...) {
        // A command reports through the slots, the status and the player's
        // error text; a failure inside it must not reach the host.
    }
}

namespace exports {
#define QEL_COMMAND(name, ordinal, second)
#define QEL_EMPTY(name, ordinal, second) \
    void name(PluginState&) {}
#define QEL_SOUND_FIELD(name, ordinal, field)
#define QEL_TAG_FIELD(name, ordinal, field)
#define QEL_ENTRY(name, ordinal, second)
#include "host/ExportTable.inc"
}  // namespace exports

}  // namespace qel
