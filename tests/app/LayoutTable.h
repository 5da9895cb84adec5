#pragma once

// Every control of the window as the layout fixes it: page (0-based), parent group box if any,
// kind, name, position and the caption or text it starts with.

#include <QRect>
#include <vector>

namespace korvel::test {

enum class Kind { Label, Edit, Password, MultiLine, Button, GroupBox, List, Combo };

struct ExpectedControl {
    int page;
    const char* group;  // "" when the control sits on the page itself
    Kind kind;
    const char* name;
    QRect at;
    const char* text;
};

inline const std::vector<ExpectedControl>& ExpectedControls()
{
    static const std::vector<ExpectedControl> all = {
        {0, "", Kind::Label, "标签4", {16, 31, 112, 24}, "（淘宝/天猫）网址："},
        {0, "", Kind::Edit, "编辑框1", {130, 32, 261, 24}, "shop35897120.taobao.com"},
        {0,
         "",
         Kind::Label,
         "标签6",
         {404, 36, 507, 15},
         "注：不要带任何参数。例如 xxx.tmall.com 或 shopxxx.taobao.com 或 xxx.taobao.com"},
        {0, "", Kind::Button, "按钮1", {130, 66, 150, 30}, "开始采集"},
        {0, "", Kind::List, "超级列表框1", {8, 101, 959, 300}, ""},
        {0, "", Kind::Label, "标签1", {8, 416, 183, 24}, "采集商品总数："},
        {0, "", Kind::Label, "标签2", {206, 416, 128, 24}, "商品页数："},
        {0, "", Kind::Button, "按钮2", {8, 448, 120, 32}, "商品ID导出"},
        {0, "", Kind::Button, "按钮3", {152, 448, 120, 32}, "导出所有信息"},
        {0, "", Kind::GroupBox, "分组框3", {343, 409, 624, 72}, ""},
        {0, "分组框3", Kind::Label, "标签9", {16, 24, 56, 32}, "用户名："},
        {0, "分组框3", Kind::Edit, "编辑框4", {72, 24, 150, 32}, ""},
        {0, "分组框3", Kind::Label, "标签10", {233, 24, 40, 32}, "密码："},
        {0, "分组框3", Kind::Password, "编辑框5", {274, 24, 150, 32}, ""},

        {1, "", Kind::GroupBox, "分组框1", {8, 32, 959, 105}, ""},
        {1, "分组框1", Kind::Label, "标签7", {22, 19, 129, 27}, "宝贝区源码开始"},
        {1, "分组框1", Kind::MultiLine, "编辑框2", {158, 13, 300, 40}, "<div class=\"shop-hesper-bd grid\">"},
        {1, "分组框1", Kind::Label, "标签8", {515, 20, 129, 27}, "宝贝区源码结束"},
        {1, "分组框1", Kind::MultiLine, "编辑框3", {650, 13, 300, 40}, "<!--END OF  pagination-->"},
        {1, "分组框1", Kind::Label, "标签3", {23, 63, 129, 27}, "天猫midwid开始"},
        {1, "分组框1", Kind::MultiLine, "编辑框7", {159, 57, 300, 40}, "/i/asynSearch.htm?"},
        {1, "分组框1", Kind::Label, "标签13", {515, 64, 129, 27}, "天猫midwid结束"},
        {1, "分组框1", Kind::MultiLine, "编辑框8", {650, 57, 300, 40}, "&path=/search.htm&&amp;search=y"},

        {2, "", Kind::GroupBox, "分组框2", {10, 25, 237, 225}, ""},
        {2, "分组框2", Kind::Label, "标签14", {11, 10, 64, 32}, "数据库地址:"},
        {2, "分组框2", Kind::Edit, "编辑框9", {83, 10, 144, 32}, "127.0.0.1"},
        {2, "分组框2", Kind::Label, "标签15", {13, 50, 64, 32}, "用户名:"},
        {2, "分组框2", Kind::Edit, "编辑框10", {83, 52, 144, 32}, "root"},
        {2, "分组框2", Kind::Label, "标签16", {11, 90, 64, 32}, "数据库密码:"},
        {2, "分组框2", Kind::Password, "编辑框11", {83, 92, 144, 32}, ""},
        {2, "分组框2", Kind::Label, "标签17", {11, 130, 64, 32}, "数据库名称:"},
        {2, "分组框2", Kind::Edit, "编辑框12", {83, 132, 144, 32}, "test"},
        {2, "分组框2", Kind::Label, "标签18", {13, 170, 68, 32}, "MYSQL端口:"},
        {2, "分组框2", Kind::Edit, "编辑框13", {83, 172, 48, 32}, "3306"},
        {2, "分组框2", Kind::Button, "按钮6", {163, 170, 64, 32}, "连接"},
        {2, "", Kind::Label, "标签21", {16, 256, 237, 32}, "高级功能，新手慎用！"},
        {2, "", Kind::List, "超级列表框2", {255, 31, 712, 402}, ""},
        {2, "", Kind::Label, "标签19", {7, 441, 424, 32}, "标签"},
        {2, "", Kind::Combo, "组合框1", {431, 445, 120, 24}, "0.52版数据库"},
        {2, "", Kind::Label, "标签20", {563, 440, 87, 32}, "公众号标识："},
        {2, "", Kind::Edit, "编辑框15", {650, 441, 80, 32}, "1"},
        {2, "", Kind::Button, "按钮7", {736, 441, 112, 32}, "读取用户信息"},
        {2, "", Kind::Button, "按钮8", {854, 440, 112, 32}, "导入会员信息"},

        {3, "", Kind::MultiLine, "编辑框6", {15, 33, 840, 400}, ""},
        {3, "", Kind::Button, "按钮10", {16, 448, 104, 24}, ""},

        {4, "", Kind::Label, "标签5", {336, 208, 208, 24}, "功能完善中..."},
        {4, "", Kind::Edit, "编辑框14", {16, 336, 128, 24}, ""},
        {4, "", Kind::Button, "按钮11", {16, 432, 96, 40}, "导入数据库"},
    };
    return all;
}

}  // namespace korvel::test
