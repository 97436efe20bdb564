#include "drvstage/ItemList.h"

std::vector<CString> SplitItems(const CString& list, const char* sep) {
    std::vector<CString> items;
    int count = list.ItemCount(sep);
    for (int i = 0; i < count; ++i)
        items.push_back(list.Item(i, sep));
    return items;
}

CString ItemsAlsoIn(const CString& wanted, const CString& list, const char* sep) {
    CString kept;
    for (const CString& item : SplitItems(wanted, sep)) {
        if (list.ContainsItem(item, sep))
            kept.AppendItem(item, sep);
    }
    return kept;
}

bool HasItemNoCase(const CString& list, const CString& value, const char* sep) {
    for (const CString& item : SplitItems(list, sep)) {
        if (item.Trim().EqualsNoCase(value))
            return true;
    }
    return false;
}
