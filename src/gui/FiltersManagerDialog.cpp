#include "FiltersManagerDialog.h"

#include "FileDialogs.h"
#include "FilterHelpWindow.h"
#include "GuiText.h"
#include "StandardTexts.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <map>

namespace kumby::gui {

namespace {

constexpr int MethodRole = Qt::UserRole;

} // namespace

TFiltersManagerDialog::TFiltersManagerDialog(Session& session, QWidget* parent)
    : QDialog(parent), Session_(session) {
    setWindowTitle(QStringLiteral("Менеджер избранных методов расчета статистики"));
    const TStatList& registry = session.Registry();

    Tree_ = new QTreeWidget;
    Tree_->setHeaderHidden(true);
    Tree_->setColumnCount(1);
    Tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    Tree_->setUniformRowHeights(true);
    Tree_->setMinimumSize(460, 360);

    Total_ =
        new QLabel(QString::fromStdString(Format("всего %d методов", static_cast<int>(registry.Count()))));
    Total_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto button = [this](const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* selectAll = button("Выбрать все");
    QPushButton* resetAll = button("Сбросить все");
    SelectGroup_ = button("Выбрать группу");
    ResetGroup_ = button("Сбросить группу");
    Rename_ = button("Переименовать");
    Restore_ = button("Вернуть");
    Describe_ = button("Описание");
    QPushButton* importNames = button("Импорт названий");
    QPushButton* exportNames = button("Экспорт названий");

    auto* side = new QVBoxLayout;
    side->addWidget(Total_);
    side->addSpacing(8);
    for (QPushButton* b : {selectAll, resetAll})
        side->addWidget(b);
    side->addSpacing(8);
    for (QPushButton* b : {SelectGroup_, ResetGroup_})
        side->addWidget(b);
    side->addSpacing(8);
    for (QPushButton* b : {Rename_, Restore_, Describe_})
        side->addWidget(b);
    side->addSpacing(8);
    for (QPushButton* b : {importNames, exportNames})
        side->addWidget(b);
    side->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(Tree_, 1);
    top->addLayout(side);

    Ordered_ = new QCheckBox(QStringLiteral("Сортировать списки по названию метода"));
    ShowGroupName_ =
        new QCheckBox(QStringLiteral("Отображать идентификатор группы { xxx } перед названием метода"));
    ShowMethodFlags_ =
        new QCheckBox(QStringLiteral("Отображать особенности метода [ YYY ] после названия метода"));
    Ordered_->setChecked(registry.Ordered);
    ShowGroupName_->setChecked(registry.ShowGroupName);
    ShowMethodFlags_->setChecked(registry.ShowMethodFlags);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(Ordered_);
    layout->addWidget(ShowGroupName_);
    layout->addWidget(ShowMethodFlags_);
    layout->addWidget(buttons);

    connect(selectAll, &QPushButton::clicked, this, [this] { MarkAll(true); });
    connect(resetAll, &QPushButton::clicked, this, [this] { MarkAll(false); });
    connect(SelectGroup_, &QPushButton::clicked, this, [this] { MarkGroup(true); });
    connect(ResetGroup_, &QPushButton::clicked, this, [this] { MarkGroup(false); });
    connect(Rename_, &QPushButton::clicked, this, &TFiltersManagerDialog::RenameSelected);
    connect(Restore_, &QPushButton::clicked, this, &TFiltersManagerDialog::RestoreSelected);
    connect(Describe_, &QPushButton::clicked, this, &TFiltersManagerDialog::DescribeSelected);
    connect(importNames, &QPushButton::clicked, this, &TFiltersManagerDialog::ImportNames);
    connect(exportNames, &QPushButton::clicked, this, &TFiltersManagerDialog::ExportNames);
    // A press toggles: a click toggles once, and so does a double click, whose
    // second press arrives as a double click event.
    connect(Tree_, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem* item) {
        if (MethodOf(item) >= 0 && (QApplication::mouseButtons() & Qt::LeftButton))
            SetMarked(item, !IsMarked(item));
    });
    connect(Tree_, &QTreeWidget::itemSelectionChanged, this, &TFiltersManagerDialog::UpdateButtons);

    FillTree();
    resize(720, 600);
}

long long TFiltersManagerDialog::MethodOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, MethodRole).toLongLong() : -1;
}

bool TFiltersManagerDialog::IsMarked(const QTreeWidgetItem* item) {
    return item && item->data(0, Qt::CheckStateRole).toInt() == Qt::Checked;
}

void TFiltersManagerDialog::SetMarked(QTreeWidgetItem* item, bool marked) {
    // The mark is shown as a check box that only this dialog changes.
    item->setData(0, Qt::CheckStateRole, marked ? Qt::Checked : Qt::Unchecked);
}

void TFiltersManagerDialog::FillTree() {
    const TStatList& registry = Session_.Registry();
    Tree_->clear();
    std::map<int, QTreeWidgetItem*> groups;
    for (std::size_t i = 0; i < registry.Count(); ++i) {
        const TStatMethod& m = registry.Items(i);
        if (!m.StatClass->Available)
            continue;
        QTreeWidgetItem*& group = groups[m.StatClass->Group];
        if (!group) {
            group = new QTreeWidgetItem(Tree_, {Q(TStatList::GroupText(m.StatClass->Group))});
            group->setData(0, MethodRole, -1LL);
            QFont font = group->font(0);
            font.setBold(true);
            group->setFont(0, font);
        }
        auto* item = new QTreeWidgetItem(group, {Q(m.BaseName())});
        item->setData(0, MethodRole, static_cast<long long>(i));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        SetMarked(item, m.Marked);
    }
    Tree_->expandAll();
    UpdateButtons();
}

QTreeWidgetItem* TFiltersManagerDialog::MethodItem(std::size_t method) const {
    for (int g = 0; g < Tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = Tree_->topLevelItem(g);
        for (int c = 0; c < group->childCount(); ++c)
            if (MethodOf(group->child(c)) == static_cast<long long>(method))
                return group->child(c);
    }
    return nullptr;
}

QTreeWidgetItem* TFiltersManagerDialog::SelectedMethodItem() const {
    QTreeWidgetItem* item = Tree_->currentItem();
    return MethodOf(item) >= 0 ? item : nullptr;
}

void TFiltersManagerDialog::UpdateButtons() {
    const bool method = SelectedMethodItem() != nullptr;
    const bool any = Tree_->currentItem() != nullptr;
    SelectGroup_->setEnabled(any);
    ResetGroup_->setEnabled(any);
    Rename_->setEnabled(method);
    Restore_->setEnabled(method);
    Describe_->setEnabled(method);
}

void TFiltersManagerDialog::MarkAll(bool marked) {
    for (int g = 0; g < Tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = Tree_->topLevelItem(g);
        for (int c = 0; c < group->childCount(); ++c)
            SetMarked(group->child(c), marked);
    }
}

void TFiltersManagerDialog::MarkGroup(bool marked) {
    QTreeWidgetItem* group = Tree_->currentItem();
    if (group && group->parent())
        group = group->parent();
    if (!group)
        return;
    for (int c = 0; c < group->childCount(); ++c)
        SetMarked(group->child(c), marked);
}

void TFiltersManagerDialog::RenameSelected() {
    QTreeWidgetItem* item = SelectedMethodItem();
    if (!item)
        return;
    bool ok = false;
    const QString text = AskText(this, QStringLiteral("Переименование"),
                                 QStringLiteral("Введите наименование фильтра:"), item->text(0), ok)
                             .trimmed();
    if (!ok)
        return;
    // The name file keeps trimmed names; an empty one stands for the default name.
    item->setText(0, text.isEmpty() ? Q(Session_.Registry().Items(MethodOf(item)).MethodCaption()) : text);
}

void TFiltersManagerDialog::RestoreSelected() {
    if (QTreeWidgetItem* item = SelectedMethodItem())
        item->setText(0, Q(Session_.Registry().Items(MethodOf(item)).MethodCaption()));
}

void TFiltersManagerDialog::DescribeSelected() {
    if (QTreeWidgetItem* item = SelectedMethodItem()) {
        TFilterHelpWindow help(Session_, static_cast<std::size_t>(MethodOf(item)), this);
        help.exec();
    }
}

void TFiltersManagerDialog::ImportNames() {
    const QString name = AskOpenFileName(this, QString::fromUtf8(FilterNamesFileFilter));
    if (name.isEmpty())
        return;
    Session_.LoadMethodNames(LocalPath(name), false);
    FillTree();
}

void TFiltersManagerDialog::ExportNames() {
    const QString name =
        AskSaveFileName(this, QString::fromUtf8(FilterNamesFileFilter), QStringLiteral("flt"));
    if (name.isEmpty())
        return;
    StoreNames();
    Session_.SaveMethodNames(LocalPath(name), false, true);
    // The registry gets its own names back; the tree keeps what was typed.
    Session_.LoadMethodNames(Session_.DataPath(FilterNamesFileName), false);
}

void TFiltersManagerDialog::StoreNames() {
    TStatList& registry = Session_.Registry();
    for (int g = 0; g < Tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = Tree_->topLevelItem(g);
        for (int c = 0; c < group->childCount(); ++c) {
            const QTreeWidgetItem* item = group->child(c);
            const long long method = MethodOf(item);
            if (method < 0 || static_cast<std::size_t>(method) >= registry.Count())
                continue;
            TStatMethod& m = registry.Items(static_cast<std::size_t>(method));
            const QString caption = item->text(0);
            m.CustomName =
                caption.compare(Q(m.MethodCaption()), Qt::CaseInsensitive) == 0 ? std::string() : S(caption);
        }
    }
}

void TFiltersManagerDialog::accept() {
    TStatList& registry = Session_.Registry();
    StoreNames();
    for (int g = 0; g < Tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = Tree_->topLevelItem(g);
        for (int c = 0; c < group->childCount(); ++c) {
            const long long method = MethodOf(group->child(c));
            if (method >= 0 && static_cast<std::size_t>(method) < registry.Count())
                registry.Items(static_cast<std::size_t>(method)).Marked = IsMarked(group->child(c));
        }
    }
    registry.NormalizeFavourites();
    registry.Ordered = Ordered_->isChecked();
    registry.ShowGroupName = ShowGroupName_->isChecked();
    registry.ShowMethodFlags = ShowMethodFlags_->isChecked();
    QDialog::accept();
}

} // namespace kumby::gui
