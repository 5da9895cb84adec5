#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/ControlNames.h"
#include "app/Pages.h"

namespace korvel {

void BuildCollectionSettingsPage(QWidget* page)
{
    QWidget* box = MakeGroupBox(page, names::MarkersBox, {8, 32, 959, 105});
    MakeBold(MakeLabel(box, names::ItemAreaStartLabel, {22, 19, 129, 27}, "宝贝区源码开始"));
    MakeMultiLineEdit(box, names::ItemAreaStart, {158, 13, 300, 40}, "<div class=\"shop-hesper-bd grid\">");
    MakeBold(MakeLabel(box, names::ItemAreaEndLabel, {515, 20, 129, 27}, "宝贝区源码结束"));
    MakeMultiLineEdit(box, names::ItemAreaEnd, {650, 13, 300, 40}, "<!--END OF  pagination-->");
    MakeBold(MakeLabel(box, names::TmallQueryStartLabel, {23, 63, 129, 27}, "天猫midwid开始"));
    MakeMultiLineEdit(box, names::TmallQueryStart, {159, 57, 300, 40}, "/i/asynSearch.htm?");
    MakeBold(MakeLabel(box, names::TmallQueryEndLabel, {515, 64, 129, 27}, "天猫midwid结束"));
    MakeMultiLineEdit(box, names::TmallQueryEnd, {650, 57, 300, 40}, "&path=/search.htm&&amp;search=y");
}

void BuildTestAreaPage(QWidget* page)
{
    MakeMultiLineEdit(page, names::TestText, {15, 33, 840, 400}, "", true);
    MakeButton(page, names::TestButton, {16, 448, 104, 24}, "");
}

void BuildProductImportPage(QWidget* page)
{
    MakeLabel(page, names::ArticleLabel, {336, 208, 208, 24}, "功能完善中...");
    MakeEdit(page, names::ArticleType, {16, 336, 128, 24}, "")->hide();
    MakeButton(page, names::ArticleImportButton, {16, 432, 96, 40}, "导入数据库")->hide();
}

}  // namespace korvel
