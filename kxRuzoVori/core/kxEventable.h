// A publisher of numbered events. Subscribers' member functions are kept per event in the order
// they were added; firing calls each of them and returns the AND of their answers, so any one
// subscriber can veto what the publisher is about to do.
#ifndef KXRUZOVORI_CORE_KXEVENTABLE_H
#define KXRUZOVORI_CORE_KXEVENTABLE_H

#include "kxRuzoVori/core/kxEventHandler.h"
#include "kxRuzoVori/core/kxParams.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

#include <map>
#include <vector>

typedef bool (kxEventHandler::*kxEventMethod)(kxEventable&, kxParams&);

class KX_API kxEventable
{
public:
    kxEventable();
    kxEventable(const kxEventable&) = delete;
    kxEventable& operator=(const kxEventable&) = delete;
    virtual ~kxEventable();

    void RegisterEvent(int id);
    void ValidateEvent(int id) const;
    void AddHandler(int id, bool (kxEventHandler::*method)(kxEventable&, kxParams&),
                    kxEventHandler* handler);
    // Vacates every entry of handler and forgets it, so neither side can reach a dead other.
    void RemoveHandler(kxEventHandler* handler);

    // Subscribers added while an event fires join from its next firing on.
    bool FireEvent(int id, kxParams& params);
    bool FireEvent(int id);
    bool PrivateFireEvent(int id, kxParams& params);

    // The class text of every exception this object throws ("kxEventable" by default).
    const wxString& GetClassText() const { return m_classText; }
    void SetClassText(const wxString& classText) { m_classText = classText; }

private:
    friend class kxEventHandler;

    struct Entry
    {
        kxEventMethod m_method;
        kxEventHandler* m_handler;
    };
    typedef std::vector<Entry> EntryList;

    EntryList& PrivateFindEvent(int id);
    // Called by a dying handler: its entries become vacant, the lists keep their length.
    void PrivateVacate(kxEventHandler* handler);

    std::map<int, EntryList> m_events;
    wxString m_classText;
};

#endif
