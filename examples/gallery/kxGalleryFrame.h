// The gallery's window: a page for each of the library's controls, listed down the left side.
#ifndef KXEXAMPLES_KXGALLERYFRAME_H
#define KXEXAMPLES_KXGALLERYFRAME_H

#include <wx/frame.h>

#include <vector>

class WXDLLIMPEXP_FWD_CORE wxListBox;
class WXDLLIMPEXP_FWD_CORE wxSimplebook;

class kxGalleryFrame : public wxFrame
{
public:
    kxGalleryFrame();

    size_t GetPageCount() const { return m_names.size(); }
    // A short name for the page, fit for a file name ("tree-combo").
    wxString GetPageName(size_t page) const { return m_names[page]; }
    void ShowPage(size_t page);
    // Makes the window just tall enough for the page shown (and extra), for its picture.
    void FitToPage(int extra);
    // Whether the list shows every page's name at the window's present height.
    bool ListShowsAll() const;

private:
    void AddPage(wxWindow* page, const wxString& name, const wxString& title);

    wxListBox* m_list;
    wxSimplebook* m_book;
    std::vector<wxString> m_names;
};

#endif
