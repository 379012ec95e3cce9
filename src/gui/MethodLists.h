#pragma once

// The method lists of the analysis tabs: which registry entries they show, under
// which names and in which order, and how a refill keeps the selection.

#include <QString>

#include <cstddef>
#include <vector>

class QComboBox;

namespace kumby {
class Session;
class TStatList;
} // namespace kumby

namespace kumby::gui {

struct TMethodListEntry {
    QString Name;       // display name with the flag letters
    std::size_t Method; // registry index
};

// Entries of the statistics list (every shown method) or of the chart list (only
// the chartable ones), sorted by name when the registry asks for it.
std::vector<TMethodListEntry> MethodListEntries(const TStatList& registry, bool chartsOnly);

// An empty method list with its hint, wide enough for long names.
QComboBox* MethodListBox(const QString& hint);

// Registry index of the list's selected item, or Session::NoStatMethod.
std::size_t SelectedMethod(const QComboBox& list);

// Fills the lists (the chart list may be absent). With `reload` the registry is
// rebuilt first, keeping names and favourites; with `keepSelection` each list keeps
// its selected position, otherwise the first item is selected. A position beyond the
// new length leaves the list without selection. No change signal is sent.
void FillMethodLists(Session& session, QComboBox& statList, QComboBox* chartList, bool reload,
                     bool keepSelection);

} // namespace kumby::gui
