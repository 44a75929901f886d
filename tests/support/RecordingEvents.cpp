#include "support/RecordingEvents.h"

#include "core/base/MessageIds.h"

#include <algorithm>

int RecordingEvents::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    boxes.push_back({text, caption, type, Status(), progress.empty() ? -1 : progress.back()});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (type & 0x0F) == 0x04 ? IDYES : IDOK;
}

std::vector<std::string> RecordingEvents::BoxTexts() const
{
    std::vector<std::string> boxTexts;
    for (const Box& box : boxes)
        boxTexts.push_back(box.text);
    return boxTexts;
}

std::vector<std::string> RecordingEvents::Lines() const
{
    return list.empty() ? list : std::vector<std::string>(list.begin() + 1, list.end());
}

int RecordingEvents::MapCells() const
{
    return static_cast<int>(std::count_if(map.begin(), map.end(), [](const std::string& event) {
        return event == "good" || event == "bad" || event == "suspect";
    }));
}
