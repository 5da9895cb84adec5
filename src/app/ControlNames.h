#pragma once

// Every control's name, which is also its objectName: the window's code and its tests find a control
// by it. Named here by what the control does.

namespace korvel::names {

// The window itself.
inline constexpr char Tabs[] = "高级选择夹1";
inline constexpr char SaveDialog[] = "通用对话框1";

// 店铺采集
inline constexpr char ShopAddressLabel[] = "标签4";
inline constexpr char ShopAddress[] = "编辑框1";
inline constexpr char ShopAddressNote[] = "标签6";
inline constexpr char StartButton[] = "按钮1";
inline constexpr char ProductList[] = "超级列表框1";
inline constexpr char TotalLabel[] = "标签1";
inline constexpr char PageCountLabel[] = "标签2";
inline constexpr char ExportIdsButton[] = "按钮2";
inline constexpr char ExportAllButton[] = "按钮3";
inline constexpr char BackendAccountBox[] = "分组框3";
inline constexpr char BackendUserLabel[] = "标签9";
inline constexpr char BackendUser[] = "编辑框4";
inline constexpr char BackendPasswordLabel[] = "标签10";
inline constexpr char BackendPassword[] = "编辑框5";

// 采集设置第一步
inline constexpr char MarkersBox[] = "分组框1";
inline constexpr char ItemAreaStartLabel[] = "标签7";
inline constexpr char ItemAreaStart[] = "编辑框2";
inline constexpr char ItemAreaEndLabel[] = "标签8";
inline constexpr char ItemAreaEnd[] = "编辑框3";
inline constexpr char TmallQueryStartLabel[] = "标签3";
inline constexpr char TmallQueryStart[] = "编辑框7";
inline constexpr char TmallQueryEndLabel[] = "标签13";
inline constexpr char TmallQueryEnd[] = "编辑框8";

// 会员导入
inline constexpr char DatabaseBox[] = "分组框2";
inline constexpr char DatabaseHostLabel[] = "标签14";
inline constexpr char DatabaseHost[] = "编辑框9";
inline constexpr char DatabaseUserLabel[] = "标签15";
inline constexpr char DatabaseUser[] = "编辑框10";
inline constexpr char DatabasePasswordLabel[] = "标签16";
inline constexpr char DatabasePassword[] = "编辑框11";
inline constexpr char DatabaseNameLabel[] = "标签17";
inline constexpr char DatabaseName[] = "编辑框12";
inline constexpr char DatabasePortLabel[] = "标签18";
inline constexpr char DatabasePort[] = "编辑框13";
inline constexpr char ConnectButton[] = "按钮6";
inline constexpr char WarningLabel[] = "标签21";
inline constexpr char MemberList[] = "超级列表框2";
inline constexpr char MemberStatusLabel[] = "标签19";
inline constexpr char SchemaCombo[] = "组合框1";
inline constexpr char AccountIdLabel[] = "标签20";
inline constexpr char AccountId[] = "编辑框15";
inline constexpr char ReadButton[] = "按钮7";
inline constexpr char UploadButton[] = "按钮8";

// 程序测试区
inline constexpr char TestText[] = "编辑框6";
inline constexpr char TestButton[] = "按钮10";

// 商品导入
inline constexpr char ArticleLabel[] = "标签5";
inline constexpr char ArticleType[] = "编辑框14";
inline constexpr char ArticleImportButton[] = "按钮11";

}  // namespace korvel::names
