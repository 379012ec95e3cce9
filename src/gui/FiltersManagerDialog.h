#pragma once

// TFormManager, "Менеджер избранных методов расчета статистики": marks the favourite
// methods, renames them and sets the display options of the method lists. The tree
// holds the changes until OK; importing names acts on the registry at once.

#include <QDialog>

#include <cstddef>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kumby {
class Session;
}

namespace kumby::gui {

inline constexpr const char* FilterNamesFileFilter = "Наименования фильтров (*.flt)";

class TFiltersManagerDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFiltersManagerDialog(Session& session, QWidget* parent = nullptr);

    QTreeWidget* Tree() const { return Tree_; }
    QLabel* TotalLabel() const { return Total_; }
    QCheckBox* OrderedBox() const { return Ordered_; }
    QCheckBox* ShowGroupNameBox() const { return ShowGroupName_; }
    QCheckBox* ShowMethodFlagsBox() const { return ShowMethodFlags_; }

    // The node of a registry entry, or nullptr.
    QTreeWidgetItem* MethodItem(std::size_t method) const;
    // Registry index of a method node; -1 for group nodes.
    static long long MethodOf(const QTreeWidgetItem* item);
    static bool IsMarked(const QTreeWidgetItem* item);

    void MarkAll(bool marked);
    // The selected group node's methods, or those of the selected method's group.
    void MarkGroup(bool marked);
    void RenameSelected();
    void RestoreSelected();
    void DescribeSelected();
    void ImportNames();
    void ExportNames();

public slots:
    void accept() override;

private:
    void FillTree();
    void UpdateButtons();
    void SetMarked(QTreeWidgetItem* item, bool marked);
    QTreeWidgetItem* SelectedMethodItem() const;
    // Custom names from the tree's captions (empty where the caption is the default one).
    void StoreNames();

    Session& Session_;
    QTreeWidget* Tree_;
    QLabel* Total_;
    QCheckBox* Ordered_;
    QCheckBox* ShowGroupName_;
    QCheckBox* ShowMethodFlags_;
    QPushButton* SelectGroup_;
    QPushButton* ResetGroup_;
    QPushButton* Rename_;
    QPushButton* Restore_;
    QPushButton* Describe_;
};

} // namespace kumby::gui
