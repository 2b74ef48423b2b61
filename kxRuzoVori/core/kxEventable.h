#ifndef KXRUZOVORI_CORE_KXEVENTABLE_H
#define KXRUZOVORI_CORE_KXEVENTABLE_H

#include "kxRuzoVori/core/kxEventHandler.h"
#include "kxRuzoVori/core/kxParams.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>

#include <map>
#include <vector>

/// A subscriber's member function, cast to this type when it is subscribed:
/// `static_cast<kxEventMethod>(&MyHandler::OnStarting)`.
typedef bool (kxEventHandler::*kxEventMethod)(kxEventable&, kxParams&);

/// A publisher of numbered events, independent of the toolkit's event system. Subscribers'
/// member functions are kept per event in the order they were added; firing calls each of them
/// and returns the AND of their answers, so any one subscriber can veto what the publisher is
/// about to do. Either side may be destroyed first: the other never calls into it afterwards.
/// Everything runs on the caller's thread, without locks.
class KX_API kxEventable
{
public:
    /// An eventable without events, with the class text "kxEventable".
    kxEventable();
    kxEventable(const kxEventable&) = delete;
    kxEventable& operator=(const kxEventable&) = delete;
    /// Tells every subscriber still subscribed to forget this eventable.
    virtual ~kxEventable();

    /// Declares event id, without subscribers yet.
    /// \throws kxException "Event is already registered" when id is; nothing changes.
    void RegisterEvent(int id);
    /// Does nothing when id is registered.
    /// \throws kxException "Unknown event id" when it is not.
    void ValidateEvent(int id) const;
    /// Subscribes method of handler to event id, after those already subscribed. The same pair
    /// added twice runs twice per firing.
    /// \throws kxException "Unknown event id" when id is not registered; nothing is recorded.
    void AddHandler(int id, bool (kxEventHandler::*method)(kxEventable&, kxParams&),
                    kxEventHandler* handler);
    /// Unsubscribes every method of handler from every event, and forgets handler, so neither
    /// side can reach a dead other. Safe from inside a handler during a firing: the removed
    /// entries are skipped for the rest of that firing.
    void RemoveHandler(kxEventHandler* handler);

    /// Calls every subscriber of event id in subscription order with this eventable and params,
    /// even after one has answered false, and returns the AND of their answers (true without
    /// subscribers). Every subscriber sees the changes earlier ones made to params. Subscribers
    /// added while an event fires join from its next firing on. An exception thrown by a
    /// subscriber ends the firing and reaches the caller.
    /// \throws kxException "Unknown event id" before any subscriber runs, when id is not
    ///         registered.
    bool FireEvent(int id, kxParams& params);
    /// FireEvent(int, kxParams&) with an empty parameter bag.
    bool FireEvent(int id);
    /// The same as FireEvent(int, kxParams&), under the name the library's classes use inside.
    bool PrivateFireEvent(int id, kxParams& params);

    /// The class text of every exception this object throws ("kxEventable" by default); it is
    /// thrown as set, without translation.
    const wxString& GetClassText() const { return m_classText; }
    /// Changes the class text of the exceptions this object throws from now on.
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
