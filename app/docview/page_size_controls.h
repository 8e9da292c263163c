#pragma once

// The page-size group the settings windows share (the new-website dialog, the standard settings for new pages and
// the Page palette): the width and height fields and the size list, which shows only the current size while closed
// and the presets when it drops down. The group shows sizes and hands on the entry chosen; what a typed or chosen
// size does is its window's.

#include <functional>

#include "app/model/page_size.h"

class wxComboBox;
class wxCommandEvent;
class wxTextCtrl;
class wxWindow;

struct PageSizeControlIds
{
    int width;
    int height;
    int sizes;
};

class CPageSizeControls
{
public:
    struct Size
    {
        int width;
        int height;
    };
    // current gives the size the list drops down for; chosen gets the entry picked from a list of count entries.
    struct Handlers
    {
        std::function<Size()> current;
        std::function<void(int index, int count)> chosen;
    };

    // Finds the three controls in window and binds the list's events. False when one is missing from the template.
    bool Create(wxWindow& window, const PageSizeControlIds& ids, PageSizePresets presets, Handlers handlers);
    // The fields take digits only.
    void AcceptDigitsOnly();
    // The fields show the size; no text event is sent.
    void ShowFields(int width, int height);
    // The closed list: the current size its one entry.
    void ShowSize(int width, int height);

    wxTextCtrl* Width() const { return m_pWidth; }
    wxTextCtrl* Height() const { return m_pHeight; }

private:
    void OnDropDown(wxCommandEvent& event);
    void OnChosen(wxCommandEvent& event);

    PageSizePresets m_presets = PageSizePresets::page;
    Handlers m_handlers;
    // Set while the group writes into its own list, whose events then keep still.
    bool m_filling = false;
    wxTextCtrl* m_pWidth = nullptr;
    wxTextCtrl* m_pHeight = nullptr;
    wxComboBox* m_sizes = nullptr;
};
