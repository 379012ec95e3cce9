#include "ViewGrid.h"

#include "model/Hash64.h"

#include <algorithm>

namespace kumby {

const char* AnalysisViewCaption(TAnalysisView view) {
    switch (view) {
    case TAnalysisView::Card:
        return "Карта";
    case TAnalysisView::Layout:
        return "Схема";
    case TAnalysisView::Week:
        break;
    }
    return "Неделя";
}

TViewBuildKey ViewBuildKey(const TDrawsArray& draws, int offset, int len, bool sorted) {
    const std::string_view bytes(reinterpret_cast<const char*>(draws.data()),
                                 draws.size() * sizeof(TDrawRecord));
    return {draws.size(), Hash64(bytes), offset, len, sorted};
}

TCombination ViewDrawNumbers(const TDrawRecord& draw, bool sorted) {
    TCombination numbers = draw.Combination();
    if (sorted)
        SortCombination(numbers);
    return numbers;
}

void AddViewNumber(std::vector<int>& numbers, int n) {
    if (n >= 1 && n <= MaxNumber && std::find(numbers.begin(), numbers.end(), n) == numbers.end())
        numbers.push_back(n);
}

void AddCellNumbers(std::vector<int>& numbers, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        int n = 0;
        // A long run is no number of the game; it must not overflow either.
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            n = std::min(n * 10 + (text[i] - '0'), 1000);
        AddViewNumber(numbers, n);
    }
}

std::string ViewNumbersText(const std::vector<int>& numbers) {
    std::string text;
    for (int n : numbers) {
        if (!text.empty())
            text += "; ";
        text += std::to_string(n);
    }
    return text;
}

} // namespace kumby
