#include "text/CodePage.h"

#include "text/Encoding.h"
#include "text/linux/Cp936BestFit.h"
#include "text/linux/DbcsTable.h"
#include "text/linux/SystemUtf8.h"

namespace tovrik::text::codepage {

namespace {

bool IsValidGbkTrail(unsigned trail) {
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

// Private-use code point of a code in one of GBK's user-defined areas, or 0.
char16_t UserDefinedUnit(unsigned lead, unsigned trail) {
    if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1 && trail <= 0xFE) {
        return static_cast<char16_t>(0xE000 + (lead - 0xAA) * 94 + (trail - 0xA1));
    }
    if (lead >= 0xF8 && lead <= 0xFE && trail >= 0xA1 && trail <= 0xFE) {
        return static_cast<char16_t>(0xE234 + (lead - 0xF8) * 94 + (trail - 0xA1));
    }
    if (lead >= 0xA1 && lead <= 0xA7 && IsValidGbkTrail(trail) && trail <= 0xA0) {
        return static_cast<char16_t>(0xE4C6 + (lead - 0xA1) * 96 + (trail - 0x40) - (trail > 0x7F ? 1 : 0));
    }
    return 0;
}

// glibc's CP936 is GBK proper; the Windows code page adds the euro sign at 0x80 (glibc has it
// too), 0xFF as U+F8F5, the user-defined areas as private-use characters, the remaining holes
// of the GBK grid as the private-use characters from U+E766 on in code order, and best fit.
DbcsTable BuildCp936() {
    DbcsTable table = DbcsTable::FromIconv("CP936", 0x81, 0xFE);
    table.SetSingle(0xFF, 0xF8F5);
    char16_t nextHole = 0xE766;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const unsigned code = lead << 8 | trail;
            if (!IsValidGbkTrail(trail) || table.IsPairMapped(code)) {
                continue;
            }
            const char16_t userDefined = UserDefinedUnit(lead, trail);
            table.SetPair(code, userDefined != 0 ? userDefined : nextHole++);
        }
    }
    for (const BestFitEntry& entry : Cp936BestFit()) {
        table.SetEncoding(entry.unit, entry.code);
    }
    table.Finish();
    return table;
}

DbcsTable BuildCp950() {
    DbcsTable table = DbcsTable::FromIconv("CP950", 0x81, 0xFE);
    table.Finish();
    return table;
}

const DbcsTable* TableFor(unsigned codePage) {
    if (codePage == kCodePageGbk) {
        static const DbcsTable gbk = BuildCp936();
        return &gbk;
    }
    if (codePage == 950) {
        static const DbcsTable big5 = BuildCp950();
        return &big5;
    }
    return nullptr;
}

} // namespace

Bytes ToWide(BytesView bytes, unsigned codePage) {
    if (codePage == kCodePageUtf8) {
        return SystemUtf8ToWide(bytes);
    }
    const DbcsTable* table = TableFor(codePage);
    return table != nullptr ? table->ToWide(bytes) : Bytes();
}

Bytes FromWide(BytesView utf16, unsigned codePage) {
    if (codePage == kCodePageUtf8) {
        return SystemWideToUtf8(utf16);
    }
    const DbcsTable* table = TableFor(codePage);
    return table != nullptr ? table->FromWide(utf16) : Bytes();
}

} // namespace tovrik::text::codepage
