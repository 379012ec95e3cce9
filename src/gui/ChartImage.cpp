#include "ChartImage.h"

#include "FileDialogs.h"
#include "GuiText.h"
#include "app/IUserInterface.h"
#include "model/VexoUtils.h"

#include <QAction>
#include <QChartView>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>

namespace kumby::gui {

bool WriteChartImage(QChartView& chart, const QString& path, QString& error) {
    error.clear();
    const QImage image = chart.grab().toImage();
    if (image.isNull()) {
        error = QStringLiteral("Пустой график.");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (!image.save(&file, "PNG")) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

QAction* AddSaveChartAction(QChartView& chart, IUserInterface& ui) {
    auto* action = new QAction(QStringLiteral("Сохранить график..."), &chart);
    const QString hint = QStringLiteral("Сохранить график в файл рисунка PNG");
    action->setToolTip(hint);
    action->setStatusTip(hint);
    QObject::connect(action, &QAction::triggered, &chart, [&chart, &ui] {
        const QString path =
            AskSaveFileName(chart.window(), QString::fromUtf8(ImageFileFilter), QStringLiteral("png"));
        if (path.isEmpty())
            return;
        QString error;
        if (!WriteChartImage(chart, path, error))
            ui.ShowError(Format("Ошибка записи в файл \"%s\"!\r\r%s", S(path).c_str(), S(error).c_str()));
    });
    chart.addAction(action);
    chart.setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

} // namespace kumby::gui
