#pragma once

// 通用对话框1: the one save dialog both exports share. It remembers the path confirmed last and
// proposes it the next time, whichever export asks. Each showing is a dialog of its own, so a name
// typed into a cancelled one is never proposed again.

#include <QString>
#include <QStringList>
#include <string>

#include "export/ExportScreen.h"

class QWidget;

namespace korvel {

class SaveDialogComponent : public SaveDialog {
public:
    explicit SaveDialogComponent(QWidget* window);

    void setFilter(const std::string& filter) override;
    void setDefaultExtension(const std::string& extension) override;
    bool show() override;
    // The chosen path in the file system's own encoding, ready to open.
    std::string fileName() const override;
    int chosenFilter() const override { return chosenFilter_; }

private:
    QWidget* window_;
    QStringList nameFilters_;
    QString fileName_;
    QString defaultExtension_;  // the one the export asked for, used while "*.*" is chosen
    int chosenFilter_ = 0;
};

// "文本文件(*.txt)|*.txt" as the dialog's filter list, one entry per description/pattern pair.
QStringList NameFilters(const QString& filter);
// "txt" for a filter of one kind of file ("文本文件(*.txt)"); empty for "所有文件(*.*)".
QString FilterExtension(const QString& filter);

}  // namespace korvel
