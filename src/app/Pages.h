#pragma once

// The five pages of the tab control 高级选择夹1, each filled with its controls at their fixed
// places and sizes. Only creation lives here; what a control does is wired in the page's own
// files.

#include <vector>

#include "app/Controls.h"
#include "app/GbkTableModel.h"
#include "app/ProductTableModel.h"

class QWidget;

namespace korvel {


// The shop host 编辑框1 holds at start.
inline constexpr char kSampleShopHost[] = "shop35897120.taobao.com";

std::vector<ListColumn> ProductColumns();  // 超级列表框1
std::vector<ListColumn> MemberColumns();   // 超级列表框2

void BuildShopCollectionPage(QWidget* page, ProductTableModel* products);  // "店铺采集"
void BuildCollectionSettingsPage(QWidget* page);                       // "采集设置第一步"
void BuildMemberImportPage(QWidget* page, GbkTableModel* members);     // "会员导入"
void BuildTestAreaPage(QWidget* page);                                 // "程序测试区"
void BuildProductImportPage(QWidget* page);                            // "商品导入"

}  // namespace korvel
