#include "app/SaveDialogComponent.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>

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

SaveDialogComponent::SaveDialogComponent(QWidget* window) : dialog_(new QFileDialog(window))
{
    dialog_->setObjectName(QStringLiteral("通用对话框1"));
    dialog_->setOption(QFileDialog::DontUseNativeDialog);
    dialog_->setAcceptMode(QFileDialog::AcceptSave);
    dialog_->setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the chosen filter's, so choosing CSV writes a .csv file
    // (which the exports write as CSV) and the overwrite question names that file.
    QObject::connect(dialog_, &QFileDialog::filterSelected, dialog_, [this](const QString& filter) {
        const QString extension = FilterExtension(filter);
        dialog_->setDefaultSuffix(extension.isEmpty() ? defaultExtension_ : extension);
    });
}

void SaveDialogComponent::setFilter(const std::string& filter)
{
    dialog_->setNameFilters(NameFilters(FromGbk(filter)));
}

void SaveDialogComponent::setDefaultExtension(const std::string& extension)
{
    // The dialog drops a leading period itself, so "txt" and ".txt" behave alike.
    defaultExtension_ = FromGbk(extension);
    dialog_->setDefaultSuffix(defaultExtension_);
}

bool SaveDialogComponent::show()
{
    if (!fileName_.isEmpty()) {
        dialog_->selectFile(fileName_);
    } else if (auto* field = dialog_->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        // Nothing confirmed yet: a name typed into a cancelled dialog is not proposed again
        // (selectFile ignores an empty name).
        field->clear();
    }
    if (dialog_->exec() != QDialog::Accepted || dialog_->selectedFiles().isEmpty()) {
        return false;
    }
    fileName_ = dialog_->selectedFiles().constFirst();
    return true;
}

std::string SaveDialogComponent::fileName() const
{
    return QFile::encodeName(fileName_).toStdString();
}

}  // namespace korvel
