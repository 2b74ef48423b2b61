// Pictures of the three-size toolbar: its icon sizes (toolbar-sizes.png) and where its labels go
// (toolbar-labels.png).
#include "kxGallerySamples.h"
#include "support/kxScreenshot.h"

#include <kxRuzoVori/kxRuzoVori.h>

#include <wx/artprov.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <memory>
#include <vector>

namespace
{
enum
{
    MENU_BASE = 7000,
    NEW = 1,
    OPEN,
    SAVE,
    PRINT,
    FIND,
    HELP
};

struct Variant
{
    wxString m_caption;
    E_ICON_SIZES m_size;
    E_TOOL_TEXT_ORIENTATION m_labels;
};

// One frame with a captioned toolbar per variant, saved as name.png.
bool ShootVariants(const wxString& folder, const wxString& name,
                   const std::vector<Variant>& variants)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("Toolbar"), wxPoint(20, 20));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    std::vector<std::unique_ptr<kxAuiToolbar>> toolbars;
    for (const Variant& variant : variants)
    {
        auto bar = std::make_unique<kxAuiToolbar>(MENU_BASE, frame);
        bar->AddTool(NEW, wxS("New"), kxGalleryToolImages(wxART_NEW), wxS("Start a new document"))
            .AddTool(OPEN, wxS("Open"), kxGalleryToolImages(wxART_FILE_OPEN),
                     wxS("Open a document"))
            .AddTool(SAVE, wxS("Save"), kxGalleryToolImages(wxART_FILE_SAVE),
                     wxS("Save the document"));
        bar->AddSeparator();
        bar->AddTool(PRINT, wxS("Print"), kxGalleryToolImages(wxART_PRINT),
                     wxS("Print the document"))
            .AddTool(FIND, wxS("Find"), kxGalleryToolImages(wxART_FIND), wxS("Find text"))
            .AddTool(HELP, wxS("Help"), kxGalleryToolImages(wxART_HELP), wxS("Show the manual"));
        bar->SetIconSize(variant.m_size);
        bar->SetTextOrientation(variant.m_labels);
        bar->Realize();
        // Nothing to save yet: the tool shows its greyed image.
        bar->EnableTool(SAVE, false);
        auto* caption = new wxStaticText(frame, wxID_ANY, variant.m_caption);
        sizer->Add(caption, 0, wxLEFT | wxRIGHT | wxTOP, 10);
        sizer->Add(bar->GetAuiToolbar(), 0, wxEXPAND | wxALL, 6);
        toolbars.push_back(std::move(bar));
    }
    frame->SetSizerAndFit(sizer);
    frame->SetClientSize(wxSize(std::max(frame->GetClientSize().x, 520), -1));
    frame->Layout();
    const bool saved = kxShotShow(frame) && kxShotSave(frame, folder, name);
    toolbars.clear();
    frame->Destroy();
    kxShotPump(50);
    return saved;
}

bool Shoot(const wxString& folder)
{
    const bool sizes =
        ShootVariants(folder, wxS("toolbar-sizes"),
                      {{wxS("Small icons, text on the right"), ICON_SIZE_SMALL, TEXT_RIGHT},
                       {wxS("Medium icons, text on the right"), ICON_SIZE_MEDIUM, TEXT_RIGHT},
                       {wxS("Large icons, text on the right"), ICON_SIZE_LARGE, TEXT_RIGHT}});
    const bool labels =
        ShootVariants(folder, wxS("toolbar-labels"),
                      {{wxS("Large icons, text bottom"), ICON_SIZE_LARGE, TEXT_BOTTOM},
                       {wxS("Medium icons, no text"), ICON_SIZE_MEDIUM, TEXT_NONE}});
    return sizes && labels;
}
} // namespace

int main(int argc, char** argv)
{
    return kxShotMain(argc, argv, Shoot);
}
