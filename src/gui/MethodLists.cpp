#include "MethodLists.h"

#include "GuiText.h"
#include "app/Session.h"

#include <QCollator>
#include <QComboBox>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>

namespace kumby::gui {

namespace {

void Fill(QComboBox& list, const std::vector<TMethodListEntry>& entries, int index) {
    const QSignalBlocker blocker(&list);
    list.clear();
    for (const TMethodListEntry& e : entries)
        list.addItem(e.Name, QVariant::fromValue<qulonglong>(e.Method));
    list.setCurrentIndex(index >= 0 && index < list.count() ? index : -1);
}

} // namespace

std::vector<TMethodListEntry> MethodListEntries(const TStatList& registry, bool chartsOnly) {
    std::vector<TMethodListEntry> entries;
    for (std::size_t i = 0; i < registry.Count(); ++i) {
        const TStatClassInfo& info = *registry.Items(i).StatClass;
        if (!info.Available || !info.Visible() || !registry.IsShown(i) || (chartsOnly && !info.HasChart))
            continue;
        entries.push_back({Q(registry.DisplayName(i, true)), i});
    }
    if (registry.Ordered) {
        QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(entries.begin(), entries.end(),
                         [&collator](const TMethodListEntry& a, const TMethodListEntry& b) {
                             return collator.compare(a.Name, b.Name) < 0;
                         });
    }
    return entries;
}

QComboBox* MethodListBox(const QString& hint) {
    auto* list = new QComboBox;
    list->setToolTip(hint);
    list->setStatusTip(hint);
    list->setMaxVisibleItems(30);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(30);
    list->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return list;
}

std::size_t SelectedMethod(const QComboBox& list) {
    if (list.currentIndex() < 0)
        return Session::NoStatMethod;
    bool ok = false;
    const qulonglong method = list.currentData().toULongLong(&ok);
    return ok ? static_cast<std::size_t>(method) : Session::NoStatMethod;
}

void FillMethodLists(Session& session, QComboBox& statList, QComboBox* chartList, bool reload,
                     bool keepSelection) {
    const int statIndex = keepSelection ? statList.currentIndex() : 0;
    const int chartIndex = keepSelection && chartList ? chartList->currentIndex() : 0;
    if (reload)
        session.ReloadRegistry();
    Fill(statList, MethodListEntries(session.Registry(), false), statIndex);
    if (chartList)
        Fill(*chartList, MethodListEntries(session.Registry(), true), chartIndex);
}

} // namespace kumby::gui
