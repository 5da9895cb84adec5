#include "app/SaveDialogComponent.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>

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

SaveDialogComponent::SaveDialogComponent(QWidget* window) : dialog_(new QFileDialog(window))
{
    dialog_->setObjectName(QStringLiteral("通用对话框1"));
    dialog_->setOption(QFileDialog::DontUseNativeDialog);
    dialog_->setAcceptMode(QFileDialog::AcceptSave);
    dialog_->setFileMode(QFileDialog::AnyFile);
}

void SaveDialogComponent::setFilter(const std::string& filter)
{
    dialog_->setNameFilters(NameFilters(FromGbk(filter)));
}

void SaveDialogComponent::setDefaultExtension(const std::string& extension)
{
    // The dialog drops a leading period itself, so "txt" and ".txt" behave alike.
    dialog_->setDefaultSuffix(FromGbk(extension));
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
