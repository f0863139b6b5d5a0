#include "ClaimTexts.h"

std::string LongDocument(std::size_t Bytes) {
    const std::string paragraph =
        "FIG. 3 shows the pump housing 12 with its inlet 14 and outlet 16; the impeller 18 turns "
        "at up to 3,000 rpm and the seal 20 keeps the fluid in the chamber 22. In another "
        "embodiment, shown in FIG. 4, the housing is cast in two halves 24, 26 that are joined "
        "by screws 28. The ratio of 1.5 to 1 between the diameters gives the best results. The "
        "seal has two parts: "
        "a lip and a spring.\r\n";
    std::string text = "PUMP WITH SEALED IMPELLER\r\n\r\n";
    while (text.size() + paragraph.size() < Bytes)
        text += paragraph;
    text += "What is claimed is:\r\n";
    text += OrdinaryClaims(20).substr(std::string("What is claimed is:\r\n").size());
    return text;
}

std::string LongCjkDocument(std::size_t Bytes) {
    const std::string paragraph =
        "[0012]如图3所示，壶体12的内胆14由不锈钢制成，外壳16与内胆14之间留有5至10mm的间隙，"
        "加热盘18位于底部，功率为1500W。温控器20在水温达到95℃时断开电路。\r\n"
        "在另一实施例中，如图4所示，壶盖22与壶体12通过铰链24连接，含有1-5重量份的陶瓷涂层。\r\n";
    std::string text = "电热水壶\r\n说明书\r\n技术领域\r\n";
    while (text.size() + paragraph.size() < Bytes)
        text += paragraph;
    text += "权利要求书\r\n";
    for (int n = 1; n <= 20; ++n) {
        text += std::to_string(n) + "．";
        if (n % 10 == 1)
            text += "一种电热水壶，包括壶体、加热盘和温控器。\r\n";
        else if (n % 7 == 0)
            text += "根据权利要求" + std::to_string(n - 3) + "至" + std::to_string(n - 1) +
                    "中任一项所述的电热水壶，其中间隙为5至10mm。\r\n";
        else
            text += "根据权利要求" + std::to_string(n - 1) +
                    "所述的电热水壶，其中加热盘为\r\n"
                    "铝制。\r\n";
    }
    return text;
}

std::string OrdinaryClaims(int Claims) {
    std::string text = "What is claimed is:\r\n";
    for (int n = 1; n <= Claims; ++n) {
        text += "  " + std::to_string(n) + ". ";
        if (n % 20 == 1)
            text += "A pump comprising a housing, an impeller in the housing, and a seal between "
                    "the impeller and the housing.\r\n";
        else if (n % 7 == 0)
            text += "The pump as recited in any one of claims " + std::to_string(n - 3) + " to " +
                    std::to_string(n - 1) + ", wherein the seal is a lip seal.\r\n";
        else
            text += "The pump as recited in claim " + std::to_string(n - 1) +
                    ", wherein the impeller has\r\nsix blades of 1.5 mm.\r\n";
    }
    return text;
}

std::string AllPrecedingClaims(int Claims) {
    std::string text = "Claims\r\n";
    text = "Ref. p1\r\n\r\n" + text;
    for (int n = 1; n <= Claims; ++n) {
        // Indented, since a number of 100 or more starts no claim in the first column.
        text += " " + std::to_string(n) + ".\t";
        text += n == 1 ? "A delivery system for the skin comprising a carrier.\r\n"
                       : "A delivery system according to any one of the preceding Claims, "
                         "wherein the carrier is a gel.\r\n";
    }
    return text + "\r\n";
}

std::string IndependentClaims(int Claims) {
    std::string text = "We claim:\r\n";
    for (int n = 0; n < Claims; ++n)
        text += "  " + std::to_string(n % 1000 + 1) + ". A pump.\r\n";
    return text;
}

std::string SelfReferringClaims(std::size_t Bytes) {
    std::string text = "We claim:\r\n 1. A pump.\r\n 2. The pump of claim 1.\r\n";
    while (text.size() < Bytes)
        text += " 2. The pump of claim 2.\r\n";
    return text;
}

std::string WideReferenceClaims(std::size_t Bytes) {
    std::string text = "We claim:\r\n";
    for (int n = 1; n <= 1000; ++n)
        text += "  " + std::to_string(n) + ". A pump.\r\n";
    while (text.size() < Bytes)
        text += " 1010. The pump of claims 1 to 1000.\r\n";
    return text;
}
