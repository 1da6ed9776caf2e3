#pragma once

namespace trv {

class MainWindowLogic;

// The two vertical menus of the main window by item number: vmnNab, the operator's main actions (start,
// manual entry, check statement, end, files, exit), and vmnFast, the quick actions (reader on and off,
// settings, period summary, masks). Item numbers outside 1 to 6 do nothing.
class VerticalMenus {
public:
    explicit VerticalMenus(MainWindowLogic& logic) : m_logic(logic) {}

    void vmnNab_ItemClick(int item);
    void vmnFast_ItemClick(int item);

private:
    // Customer switch 27 keeps these functions from the customer's operators.
    bool refusedForCustomer();

    MainWindowLogic& m_logic;
};

} // namespace trv
