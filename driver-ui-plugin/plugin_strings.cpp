#include "plugin_strings.h"

namespace tavrel {

namespace {

struct StringEntry {
    std::uint32_t id;
    PluginText text;
};

constexpr StringEntry kStrings[] = {
    {IDS_COMPRESS_RATE,
     {L"图形打印横向压缩率（%）", L"圖形列印橫向壓縮率（%）", L"Landscape orientation compressibility(%)"}},
    {IDS_X_MOVE, {L"打印内容横向移动(mm)", L"列印內容橫向移動(mm)", L"landscape orientation move (mm) "}},
    {IDS_PORT_OFFLINE,
     {L"打印机驱动程序（端口：%s）处于脱机状态，请连接好打印机后重新设置！",
      L"印表機驅動程式（端口：%s）處於脫機狀態，請正確連接好印表機后重試！",
      L"The printer driver(port: %s) is work offline now, please connect printer well."}},
    {IDS_Y_MOVE, {L"打印内容竖向移动(mm)", L"列印內容豎向移動(mm)", L"Protrait orientation move (mm) "}},
    {IDS_PORT_UNSUPPORTED,
     {L"驱动程序当前端口不支持联机参数设置！", L"驅動程式當前埠不支援印表機設定！",
      L"The printer driver port do not support Printer Settings !"}},
    {IDS_NOTICE, {L"提示", L"提示", L"Notice"}},
};

}  // namespace

PluginLanguage PluginLanguageOf(std::uint16_t langId) {
    switch (langId) {
        case 2052:
        case 4100:
            return PluginLanguage::Cn;
        case 1028:
        case 3076:
        case 5124:
            return PluginLanguage::Cht;
        default:
            return PluginLanguage::En;
    }
}

std::optional<std::wstring> PluginString(std::uint32_t id, std::uint16_t langId) {
    for (const StringEntry& entry : kStrings) {
        if (entry.id == id) {
            return entry.text.In(PluginLanguageOf(langId));
        }
    }
    return std::nullopt;
}

std::vector<std::uint32_t> PluginStringIds() {
    std::vector<std::uint32_t> ids;
    for (const StringEntry& entry : kStrings) {
        ids.push_back(entry.id);
    }
    return ids;
}

}  // namespace tavrel
