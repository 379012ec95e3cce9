#include "FilterHelpWindow.h"

#include "GuiText.h"
#include "StandardTexts.h"
#include "ViewStateGlue.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <cmath>

namespace kumby::gui {

namespace {

struct TFlagText {
    uint8_t Bit;
    const char* Letter;
    const char* Meaning;
};

const TFlagText FlagTexts[] = {
    {StatFlagS, "S", "значения зависят от порядка, в котором выпали числа тиража"},
    {StatFlagN, "N",
     "значения определяются одной комбинацией, поэтому их можно сравнить с распределением по полному набору "
     "комбинаций"},
    {StatFlagD, "D", "значения зависят от предыдущих тиражей"},
    {StatFlagP, "P", "метод анализирует периоды повторения значений"},
    {StatFlagG, "G", "для метода строится график значений по тиражам"},
};

QString Row(const QString& caption, const QString& value) {
    return QStringLiteral("<tr><td style=\"padding-right:12px\"><b>%1</b></td><td>%2</td></tr>")
        .arg(caption, value);
}

int PixelsPerInch(const QWidget& w) {
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}

QSize ScreenSize(const QWidget& w) {
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

} // namespace

QString MethodDescriptionHtml(const TStatList& registry, std::size_t method) {
    if (method >= registry.Count())
        return {};
    const TStatMethod& m = registry.Items(method);
    const TStatClassInfo& info = *m.StatClass;
    QString html = QStringLiteral("<h3>%1</h3><table>").arg(Q(m.FullName()).toHtmlEscaped());
    html += Row(QStringLiteral("Код метода:"), Q(m.MethodCode()).toHtmlEscaped());
    html += Row(QStringLiteral("Название:"), Q(m.MethodCaption()).toHtmlEscaped());
    if (!m.CustomName.empty())
        html += Row(QStringLiteral("Название пользователя:"), Q(m.CustomName).toHtmlEscaped());
    html += Row(QStringLiteral("Группа:"), Q(TStatList::GroupText(info.Group)).toHtmlEscaped());
    if (!m.FormulaText.empty())
        html += Row(QStringLiteral("Формула:"), Q(m.FormulaText).toHtmlEscaped());
    html += QStringLiteral("</table>");

    const uint8_t flags = info.DisplayFlags();
    QString list;
    for (const TFlagText& f : FlagTexts)
        if (flags & f.Bit)
            list += QStringLiteral("<li><b>%1</b> — %2</li>")
                        .arg(QString::fromUtf8(f.Letter), QString::fromUtf8(f.Meaning));
    html += QStringLiteral("<p><b>Особенности метода:</b></p>");
    html += list.isEmpty() ? QStringLiteral("<p>нет</p>") : QStringLiteral("<ul>%1</ul>").arg(list);
    return html;
}

TFilterHelpWindow::TFilterHelpWindow(Session& session, std::size_t method, QWidget* parent)
    : QDialog(parent, Qt::Tool), Session_(session) {
    setWindowTitle(QStringLiteral("Описание методики расчета"));
    setSizeGripEnabled(true);

    Text_ = new QTextBrowser;
    Text_->setOpenLinks(false);
    Text_->setHtml(MethodDescriptionHtml(session.Registry(), method));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    SetRussianButtonTexts(*buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text_, 1);
    layout->addWidget(buttons);

    resize(560, 360);
    try {
        TPlacement placement;
        if (ReadPlacement(Session_.ViewStore().Read(), SectionName, PixelsPerInch(*this), ScreenSize(*this),
                          placement) &&
            placement.Normal.width() >= 200 && placement.Normal.height() >= 150)
            setGeometry(placement.Normal);
    } catch (const std::exception&) {
        // An unreadable file leaves the designed size.
    }
}

void TFilterHelpWindow::done(int result) {
    // A copy that did not get the data folder leaves its files alone.
    if (Session_.DataLockHeld()) {
        TPlacement placement;
        placement.Normal = geometry();
        try {
            Session_.ViewStore().Write(SectionName,
                                       PlacementValues(placement, PixelsPerInch(*this), ScreenSize(*this)));
        } catch (const std::exception& e) {
            Session_.Ui().ShowError(Format("Ошибка сохранения параметров программы!\r\r%s", e.what()));
        }
    }
    QDialog::done(result);
}

} // namespace kumby::gui
