#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

#include "platform/prompts.h"

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

const QString kApplicationTitle = u"Quillpost 4.0"_s;

// Message texts carry file names and other text from outside, shown as typed,
// never read as markup.
void ShowAsPlainText(QMessageBox& box)
{
    box.setTextFormat(Qt::PlainText);
}

}  // namespace

QString ErrorBoxText(const QString& failure)
{
    // A Chinese text ends with the full-width period, which counts as one.
    return failure.endsWith(u'.') || failure.endsWith(u'。') ? failure : failure + u'.';
}

void Prompts::errorWithDetail(const QString& text, const QString& detail)
{
    error(ErrorBoxText(text) + u"\n\n"_s + detail);
}

bool QtPrompts::confirm(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    ShowAsPlainText(box);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

bool QtPrompts::askYesNo(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    ShowAsPlainText(box);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::error(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, ErrorBoxText(text), QMessageBox::Ok,
                    m_parent);
    ShowAsPlainText(box);
    box.exec();
}

void QtPrompts::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, m_parent);
    ShowAsPlainText(box);
    box.exec();
}

std::optional<QFont> QtPrompts::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, m_parent);
    if (!ok) return std::nullopt;
    return font;
}

std::optional<QString> QtPrompts::chooseFile(FileDialog& dialog)
{
    QFileDialog fileDialog(m_parent);
    fileDialog.setAcceptMode(dialog.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open dialogs accept a name that does not exist yet; the open command
    // reports it as a file it cannot open. Save replaces without asking.
    fileDialog.setFileMode(QFileDialog::AnyFile);
    fileDialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    fileDialog.setOption(QFileDialog::ReadOnly, false);
    fileDialog.setOption(QFileDialog::HideNameFilterDetails, true);
    fileDialog.setNameFilters(dialog.filters);
    if (!dialog.filters.isEmpty()) fileDialog.selectNameFilter(dialog.filters.first());
    fileDialog.setDefaultSuffix(dialog.defaultSuffix);
    if (!dialog.lastPath.isEmpty()) fileDialog.selectFile(dialog.lastPath);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    dialog.lastPath = fileDialog.selectedFiles().first();
    return dialog.lastPath;
}

void QtPrompts::messageDialog(MessageKind kind, const QString& text)
{
    const bool information = kind == MessageKind::Information;
    // Over the window that asked, such as a find dialog, which gets the
    // focus back when the box closes.
    QWidget* active = QApplication::activeWindow();
    QMessageBox box(information ? QMessageBox::Information : QMessageBox::Critical,
                    information ? u"Information"_s : u"Error"_s, text, QMessageBox::NoButton,
                    active ? active : m_parent);
    box.addButton(u"OK"_s, QMessageBox::AcceptRole);
    // The text holds what the user typed; it is shown as it is.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace platform
