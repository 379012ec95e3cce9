#pragma once

// The tab "Архив тиражей": the offset back in time, the draws list and its commands.

#include "app/IUserInterface.h"

#include <QWidget>

#include <array>

class QAction;
class QMenu;
class QSpinBox;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TDrawsModel;

class TDrawsTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Архив тиражей";
    static constexpr const char* ListName = "lvDraws";

    TDrawsTab(Session& session, TActionList& actions, QWidget* parent = nullptr);

    QTableView* List() const { return List_; }
    TDrawsModel* Model() const { return Model_; }
    QSpinBox* OffsetEdit() const { return Offset_; }
    // The draws commands in menu order (the start-up download modes in a submenu).
    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);

    QAction* DrawsDownload;
    QAction* DrawsAdd;
    QAction* DrawsChange;
    QAction* DrawsDelete;
    QAction* DrawsImport;
    QAction* DrawsExport;
    QAction* DrawsExcel;
    QAction* DrawsDetails;
    QAction* DrawsSorted;
    QAction* DrawsColor;
    std::array<QAction*, 3> DownloadMode;
    QAction* ProxySettings;

    void DrawsDownloadExecute();
    void DrawsAddExecute();
    void DrawsChangeExecute();
    void DrawsDeleteExecute();
    void DrawsImportExecute();
    void DrawsExportExecute();
    void DrawsExcelExecute();
    void DrawsDetailsExecute();
    void ProxySettingsExecute();

private:
    void CreateActions();
    void SyncFromSession();
    // The archive index of the focused row, or -1.
    int FocusedIndex() const;

    Session& Session_;
    TActionList& Actions_;
    TDrawsModel* Model_;
    QTableView* List_;
    QSpinBox* Offset_;
    QMenu* ContextMenu_;
};

} // namespace kumby::gui
