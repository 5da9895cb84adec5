#pragma once

// The lines that name why pages or a whole run were lost, as the GBK bytes both views show,
// converted once from UTF-8.

#include <string>

#include "text/Gbk.h"

namespace korvel::cause_text {

inline const std::string PageWord = gbk::FromUtf8("第 ");
inline const std::string PagesFailed = gbk::FromUtf8(" 页未能取得：");
inline const std::string RetriedPrefix = gbk::FromUtf8("（已重试 ");
inline const std::string RetriedSuffix = gbk::FromUtf8(" 次）");
inline const std::string PagesEmpty = gbk::FromUtf8(" 页没有找到商品，页面结构可能已改变");
inline const std::string PagesIncomplete = gbk::FromUtf8(" 页不完整，只取得了部分商品：");
inline const std::string NoItemsOnPage = gbk::FromUtf8("没有找到商品，页面结构可能已改变");
inline const std::string PagesStopped = gbk::FromUtf8(" 页没有商品，采集提前结束");
inline const std::string ListSeparator = gbk::FromUtf8("、");
inline const std::string RangeDash = gbk::FromUtf8("–");
inline const std::string UnknownHost = gbk::FromUtf8("找不到服务器（域名无法解析）");
inline const std::string ConnectionRefused = gbk::FromUtf8("服务器拒绝连接");
inline const std::string ConnectFailed = gbk::FromUtf8("无法连接到服务器");
inline const std::string ConnectTimeoutPrefix = gbk::FromUtf8("连接超时（");
inline const std::string ConnectTimeoutSuffix = gbk::FromUtf8(" 秒内未能连上服务器）");
inline const std::string IdleTimeoutPrefix = gbk::FromUtf8("响应超时（");
inline const std::string IdleTimeoutSuffix = gbk::FromUtf8(" 秒内收到的数据不足 1 KB）");
inline const std::string TotalTimeoutPrefix = gbk::FromUtf8("请求超时（超过 ");
inline const std::string TotalTimeoutSuffix = gbk::FromUtf8(" 秒仍未完成）");
inline const std::string CertificatePrefix = gbk::FromUtf8("证书被拒绝：");
inline const std::string CertificateExpired = gbk::FromUtf8("证书已过期");
inline const std::string CertificateNotYetValid = gbk::FromUtf8("证书尚未生效");
inline const std::string CertificateWrongName = gbk::FromUtf8("证书与网站域名不符");
inline const std::string CertificateUntrusted = gbk::FromUtf8("证书不受信任");
inline const std::string CertificateInvalid = gbk::FromUtf8("证书无效");
inline const std::string TlsFailed = gbk::FromUtf8("安全连接（TLS）握手失败");
inline const std::string ConnectionReset = gbk::FromUtf8("连接被重置");
inline const std::string IncompleteBody = gbk::FromUtf8("页面未接收完整（连接中途断开）");
inline const std::string NoReply = gbk::FromUtf8("服务器没有返回任何数据");
inline const std::string TooManyRedirects = gbk::FromUtf8("重定向次数过多");
inline const std::string BodyTooLargePrefix = gbk::FromUtf8("页面超过大小上限（");
inline const std::string BodyTooLargeSuffix = gbk::FromUtf8(" MB）");
inline const std::string NotResent = gbk::FromUtf8("连接中断，请求未重发");
inline const std::string OtherPrefix = gbk::FromUtf8("网络错误：");
inline const std::string HttpStatusPrefix = gbk::FromUtf8("服务器返回 HTTP ");
inline const std::string EmptyPage = gbk::FromUtf8("服务器返回了空白页面");
inline const std::string Verification = gbk::FromUtf8("淘宝/天猫要求登录或滑块验证，请稍后再试或放慢采集速度");
inline const std::string SessionExpired = gbk::FromUtf8("登录状态已失效，请重新登录");
inline const std::string PagesNotRequested = gbk::FromUtf8(" 页未请求：之前连续 ");
inline const std::string PagesNotRequestedSuffix = gbk::FromUtf8(" 页未能取得，采集提前结束");
inline const std::string BadAddress = gbk::FromUtf8("店铺地址无效（含有空格或不允许的字符）");
inline const std::string NoPagingPrefix = gbk::FromUtf8("收到的页面（HTTP ");
inline const std::string NoPagingMiddle = gbk::FromUtf8("，");
inline const std::string NoPagingSuffix = gbk::FromUtf8(" 字节）中没有分页信息，页面结构可能已改变");
inline const std::string NoItemsOnFirstPage = gbk::FromUtf8("第 1 页有分页信息，但没有找到商品，页面结构可能已改变");

}  // namespace korvel::cause_text
