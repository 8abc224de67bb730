#include "port/direction_notes.h"

namespace port {
namespace {

std::map<std::uint16_t, std::string> g_notes;

}  // namespace

void InstallDirectionNotes(std::map<std::uint16_t, std::string> notes)
{
    g_notes = std::move(notes);
}

std::string DirectionNote(int nBase)
{
    const auto found = g_notes.find(static_cast<std::uint16_t>(nBase));
    return found == g_notes.end() ? std::string() : found->second;
}

}  // namespace port
