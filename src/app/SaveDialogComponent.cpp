#include "app/SaveDialogComponent.h"
#include "app/ControlNames.h"

#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <algorithm>

#include "app/GbkCodec.h"

namespace korvel {

QStringList NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString pattern = parts[i + 1];
        // The description usually shows its own pattern already; the dialog reads the last
        // parenthesised group as the pattern.
        const bool carriesPattern = description.endsWith(QLatin1Char('(') + pattern + QLatin1Char(')'));
        filters << (carriesPattern ? description
                                   : description + QLatin1String(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}

QString FilterExtension(const QString& filter)
{
    static const QRegularExpression onePattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    return onePattern.match(filter).captured(1);
}

SaveDialogComponent::SaveDialogComponent(QWidget* window) : window_(window) {}

void SaveDialogComponent::setFilter(const std::string& filter)
{
    nameFilters_ = NameFilters(FromGbk(filter));
}

void SaveDialogComponent::setDefaultExtension(const std::string& extension)
{
    // The dialog drops a leading period itself, so "txt" and ".txt" behave alike.
    defaultExtension_ = FromGbk(extension);
}

bool SaveDialogComponent::show()
{
    QFileDialog dialog(window_);
    dialog.setObjectName(QString::fromUtf8(names::SaveDialog));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters_);
    dialog.setDefaultSuffix(defaultExtension_);
    // A name typed without an extension gets the chosen filter's, so choosing CSV writes a .csv file
    // (which the exports write as CSV) and the overwrite question names that file.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [this, &dialog](const QString& filter) {
        const QString extension = FilterExtension(filter);
        dialog.setDefaultSuffix(extension.isEmpty() ? defaultExtension_ : extension);
    });
    if (!fileName_.isEmpty()) {
        dialog.selectFile(fileName_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    fileName_ = dialog.selectedFiles().constFirst();
    chosenFilter_ = std::max(0, static_cast<int>(nameFilters_.indexOf(dialog.selectedNameFilter())));
    return true;
}

std::string SaveDialogComponent::fileName() const
{
    return QFile::encodeName(fileName_).toStdString();
}

}  // namespace korvel
