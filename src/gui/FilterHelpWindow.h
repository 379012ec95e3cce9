#pragma once

// "Описание методики расчета": what is known of a method without a help file: its
// code, its names, its group and its particularities.

#include <QDialog>

#include <cstddef>

class QTextBrowser;

namespace kumby {
class Session;
class TStatList;
} // namespace kumby

namespace kumby::gui {

// The description as HTML.
QString MethodDescriptionHtml(const TStatList& registry, std::size_t method);

class TFilterHelpWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* SectionName = "TFormFilterHelp";

    // Takes its place and size from the view state file and stores them on closing.
    TFilterHelpWindow(Session& session, std::size_t method, QWidget* parent = nullptr);

    QTextBrowser* Text() const { return Text_; }

    void done(int result) override;

private:
    Session& Session_;
    QTextBrowser* Text_;
};

} // namespace kumby::gui
