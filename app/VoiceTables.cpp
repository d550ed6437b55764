#include "app/VoiceTables.h"

const std::string_view kChineseVoices =
    "小燕|青年女声|xiaoyan\r\n"
    "小琪|青年女声|xiaoqi\r\n"
    "小萍|青年女声|aisxping\r\n"
    "小婧|青年女声|aisjinger\r\n"
    "叶芳|青年女声|yefang\r\n"
    "小梦|青年女声|aisxmeng\r\n"
    "小春|青年女声|aismengchun\r\n"
    "子琪|青年女声|ziqi\r\n"
    "嘉嘉|青年女声|jiajia\r\n"
    "小艾|青年女声|aisxa\r\n"
    "小筠|女声播音员|aisjying\r\n"
    "小淳|男声播音员|aisxchun\r\n"
    "小峰|青年男声|vixf\r\n"
    "许久|青年男声|aisjiuxu\r\n"
    "许多|青年男声|aisduoxu\r\n"
    "小宇|青年男声|xiaoyu\r\n"
    "倪洋|青年男声|niyang\r\n"
    "老孙|中年男声|vils\r\n"
    "许小宝|童声|aisbabyxu\r\n"
    "楠楠|童声|vinn\r\n"
    "小新|卡通人物|aisxxin\r\n"
    "小丸子|卡通人物|xiaowanzi\r\n"
    "唐老鸭|卡通人物|aisduck\r\n";

const std::string_view kEnglishVoices =
    "凯瑟琳|青年女声|Catherine\r\n"
    "玛丽|青年女声|vimary\r\n"
    "亨利|青年男声|henry\r\n"
    "John|青年男声|aisjohn\r\n"
    "Tom|青年男声|aisTom\r\n";

const std::string_view kDialectVoices =
    "小梅|青年女声[粤语]|vixm\r\n"
    "小莉|青年女声[台普]|vixl\r\n"
    "小蓉|青年女声[四川话]|vixr\r\n"
    "小芸|青年女声[东北话]|vixyun\r\n"
    "小莹|青年女声[陕西话]|vixying\r\n"
    "小坤|青年男声[河南话]|vixk\r\n"
    "小强|青年男声[湖南话]|vixqa\r\n"
    "大龙|青年男声[粤语]|aisdalong\r\n";

const std::string_view kLanguages =
    "de|德语\r\n"
    "ru|俄语\r\n"
    "fra|法语\r\n"
    "pt|葡萄牙语\r\n"
    "jp|日语\r\n"
    "spa|西班牙语\r\n"
    "en|英语\r\n"
    "zh|中文\r\n";
