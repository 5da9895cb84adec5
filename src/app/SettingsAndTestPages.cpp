#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/Pages.h"

namespace korvel {

void BuildCollectionSettingsPage(QWidget* page)
{
    QWidget* box = MakeGroupBox(page, "分组框1", {8, 32, 959, 105});
    MakeBold(MakeLabel(box, "标签7", {22, 19, 129, 27}, "宝贝区源码开始"));
    MakeMultiLineEdit(box, "编辑框2", {158, 13, 300, 40}, "<div class=\"shop-hesper-bd grid\">");
    MakeBold(MakeLabel(box, "标签8", {515, 20, 129, 27}, "宝贝区源码结束"));
    MakeMultiLineEdit(box, "编辑框3", {650, 13, 300, 40}, "<!--END OF  pagination-->");
    MakeBold(MakeLabel(box, "标签3", {23, 63, 129, 27}, "天猫midwid开始"));
    MakeMultiLineEdit(box, "编辑框7", {159, 57, 300, 40}, "/i/asynSearch.htm?");
    MakeBold(MakeLabel(box, "标签13", {515, 64, 129, 27}, "天猫midwid结束"));
    MakeMultiLineEdit(box, "编辑框8", {650, 57, 300, 40}, "&path=/search.htm&&amp;search=y");
}

void BuildTestAreaPage(QWidget* page)
{
    MakeMultiLineEdit(page, "编辑框6", {15, 33, 840, 400}, "", true);
    MakeButton(page, "按钮10", {16, 448, 104, 24}, "");
}

void BuildProductImportPage(QWidget* page)
{
    MakeLabel(page, "标签5", {336, 208, 208, 24}, "功能完善中...");
    MakeEdit(page, "编辑框14", {16, 336, 128, 24}, "")->hide();
    MakeButton(page, "按钮11", {16, 432, 96, 40}, "导入数据库")->hide();
}

}  // namespace korvel
