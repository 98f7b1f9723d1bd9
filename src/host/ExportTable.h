#pragma once
// The export table as data: every exported name, its ordinals and what it runs.
#include <cstdint>
#include <span>
#include <string_view>

#include "host/PluginState.h"

namespace qel {

enum class ExportKind { Command, Empty, SoundField, TagField, Entry };

using ExportHandler = void (*)(PluginState&);

struct ExportEntry {
    std::string_view name;
    uint16_t ordinal;
    uint16_t secondOrdinal;  // 0 when the name stands once
    ExportKind kind;
    ExportHandler handler;   // null for the host entry points (their signatures differ)
};

std::span<const ExportEntry> ExportTable();

// The row of a name; null when there is none.
const ExportEntry* FindExport(std::string_view name);

// Runs a command or field handler the way every export does: nothing happens
// before the window object exists, and nothing escapes.
void RunExport(ExportHandler handler) noexcept;

// The handler of every command and field export, named as exported.
namespace exports {
#define QEL_COMMAND(name, ordinal, second) void name(PluginState&);
#define QEL_EMPTY(name, ordinal, second) void name(PluginState&);
#define QEL_SOUND_FIELD(name, ordinal, field) void name(PluginState&);
#define QEL_TAG_FIELD(name, ordinal, field) void name(PluginState&);
#define QEL_ENTRY(name, ordinal, second)
#include "host/ExportTable.inc"
}  // namespace exports

}  // namespace qel
