#pragma once

#include "gui/app/MainWindowPage.h"

class PageHost;

// The drive's listings in the output box, from their tools entries: the
// mode pages (page 10, listed again for another drive) and the features
// and profiles (page 14, listed again for another drive or disc).
class ListingPages : public MainWindowPage {
public:
    explicit ListingPages(PageHost& host) : m_host(host) {}

    void ListDriveFeaturesProfiles();
    void ListDriveModePages();

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;
    void ToolsItemChosen(int item) override;

private:
    PageHost& m_host;
};
