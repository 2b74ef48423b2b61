#ifndef KXRUZOVORI_SETTINGS_KXSETTINGS_H
#define KXRUZOVORI_SETTINGS_KXSETTINGS_H

#include "kxRuzoVori/core/kxSettingsException.h"
#include "kxRuzoVori/kxExport.h"
#include "kxRuzoVori/settings/kxSettingsGroup.h"
#include "kxRuzoVori/settings/kxSettingsItem.h"
#include "kxRuzoVori/settings/kxSettingsSet.h"

#include <wx/fileconf.h>
#include <wx/longlong.h>
#include <wx/string.h>
#include <wx/thread.h>

#include <map>
#include <string>
#include <vector>

/// A host's settings store: declared groups of typed items kept in memory and persisted in one
/// toolkit configuration file, which the store itself is. Static groups live under "/StaticGroup"
/// and are read and written by item name; dynamic groups live under "/DynamicGroup" and hold a
/// variable list of text items the store names and numbers itself. A value written with
/// announcement refreshes the controls bound to it through the view registry. Texts are kept as
/// they were written: unlike the toolkit's configuration, the store never expands "$VAR" in a
/// value, so a stored text always comes back unchanged.
///
/// Every public operation holds one recursive lock for its whole length (the store's before the
/// registry's) and releases it when an exception leaves.
///
/// Failures throw kxSettingsException (class text "kxSettings module"): every operation that
/// names a group the store does not hold throws "Internal error. Wrong group ID", and reading or
/// writing an item the group does not hold throws "Internal error. Wrong value query". Damaged
/// entries in the file never throw: they leave the item at its default.
///
/// Deviation: in toolkit 3.2 wxFileConfig is itself a wxObject, so the store derives from it
/// alone.
class KX_API kxSettings : public wxFileConfig
{
public:
    /// Reads fileName (a relative name lies in the user's home folder) and creates the folder the
    /// name gives, with its missing parents. The registry may be null and stays the caller's. A
    /// damaged file is mended as it is read, in memory: the file itself changes only when the
    /// store saves.
    /// \throws kxSettingsException "Error creating directory for settings." with the folder, when
    ///         the folder cannot be made.
    kxSettings(const wxString& fileName, kxSettingsSet* settingsSet);
    kxSettings(const kxSettings&) = delete;
    kxSettings& operator=(const kxSettings&) = delete;
    /// Saves, as Save2File() does; a failure to write is not reported.
    ~kxSettings() override;

    /// While frozen, writing a value changes and announces nothing. Always returns true.
    bool Freeze(bool frozen);
    /// Whether the store is frozen.
    bool IsFrozen() const;

    /// Stores a copy of group under id, with the path root + name (no separator is added, so
    /// names start with "/"), and sets that path in the caller's group as well. Add groups before
    /// LoadSettings(), which fills them.
    /// \throws kxSettingsException "Group with specified ID is already exists" when id is taken
    ///         (or does not fit 32 bits).
    void AddGroup(kxSettingsGroup& group, long id, bool isStatic, const wxString& name);
    /// The first group (ascending id) with the path AddGroup would give; id is set only then.
    bool IsGroupExists(bool isStatic, const wxString& name, long& id);
    /// The path of group id, as AddGroup() made it.
    wxString GetGroupName(long id);
    /// The first group holding an item with both this name and this text, or -1.
    long FindGroupByItem(const wxString& name, const wxString& value);
    /// Forgets group id and removes its entries from the configuration; true when it was there.
    bool RemoveGroup(long id);
    /// Items of source that target has take their name and value (the value as SetValue with
    /// announcement would set it); the others are copied over whole.
    bool CopyGroup(long source, long target);
    /// Removes every group from the file and from memory.
    bool ClearSettings();

    /// Writes every group from scratch and replaces the file in one step, so a reader (or a crash)
    /// sees either the old file or the new one. A file that is a link stays one: the file it leads
    /// to is replaced. An existing file keeps its permissions (and, where permitted, its owner); a
    /// new one gets 0666 less the umask, as the toolkit's own flush gives. False when the file
    /// could not be written.
    bool Save2File();
    /// Takes the values of the groups' items from the configuration; missing entries leave the
    /// item's value as it is, which is how defaults apply.
    bool LoadSettings();

    ///@{
    /// Reads an item's value as the asked type; always true. Reading never fails on a
    /// conversion: text that is no number reads as 0.
    bool GetValue(long group, long item, bool& value);
    bool GetValue(long group, long item, long& value);
    bool GetValue(long group, long item, double& value);
    bool GetValue(long group, long item, wxString& value);
    ///@}

    ///@{
    /// Stores an item's value, converted to the item's type; notify announces the new value to
    /// the registry, which refreshes the bound controls (not for reals and 64-bit numbers).
    /// While frozen nothing changes. The file is written by Save2File() or when the store goes.
    bool SetValue(long group, long item, bool value, bool notify = true);
    bool SetValue(long group, long item, long value, bool notify = true);
    bool SetValue(long group, long item, double value, bool notify = true);
    bool SetValue(long group, long item, const wxString& value, bool notify = true);
    bool SetValue(long group, long item, const wxLongLongNative& value, bool notify = true);
    ///@}
    ///@{
    /// Without these a literal number or text would be ambiguous or silently become a flag.
    bool SetValue(long group, long item, int value, bool notify = true);
    bool SetValue(long group, long item, const char* value, bool notify = true);
    bool SetValue(long group, long item, const wchar_t* value, bool notify = true);
    ///@}

    /// \name Dynamic groups
    /// A list of text items ('S') that the store names "item" + id and numbers itself unless the
    /// host names them (the Ex forms). None of these saves or announces; while frozen they leave
    /// the group as it is. They accept static groups too.
    ///@{

    /// Adds an item under the next free id: the first id, counting up from the number of items,
    /// that no item has.
    bool AddItemToDynamicGroup(long group, const wxString& value);
    /// The same with a name of the host's choosing.
    bool AddItemToDynamicGroupEx(long group, const wxString& name, const wxString& value);
    /// Removes the first item with that name; false when there is none (or the store is frozen).
    bool RemoveItemFromDynamicGroupByName(long group, const wxString& name);
    /// Removes the first item with that text, then renames all items item0, item1, ... in id order
    /// (ids stay).
    bool RemoveItemFromDynamicGroupByValue(long group, const wxString& value);
    /// The id of the first item (ascending id) with that name, or -1.
    long FindItemByName(long group, const wxString& name);
    /// The id of the first item (ascending id) with that text, or -1.
    long FindItemByValue(long group, const wxString& value);
    /// Whether the group holds any item.
    bool IsGroupHasItems(long group);
    /// Removes every item, frozen or not; always false.
    bool RemoveGroupItems(long group);
    /// Replaces every item by one per text, with ids 0, 1, ...
    bool SaveItemsOfDynamicGroup(long group, const std::vector<wxString>& values);
    /// The same with names of the host's choosing.
    /// \throws kxSettingsException "Internal settings error. Wrong size of group item's list"
    ///         when the two lists differ in length.
    bool SaveItemsOfDynamicGroupEx(long group, const std::vector<wxString>& names,
                                   const std::vector<wxString>& values);
    /// Fills the list with the items' texts in id order; tells whether it found any.
    /// \throws kxSettingsException "Dynamic group must contains items of string type" when an
    ///         item is not of type 'S'.
    bool LoadItemsOfDynamicGroup(long group, std::vector<wxString>& values);
    /// The same with the items' names beside their texts.
    /// \throws kxSettingsException as LoadItemsOfDynamicGroup().
    bool LoadItemsOfDynamicGroupEx(long group, std::vector<wxString>& names,
                                   std::vector<wxString>& values);
    ///@}

    /// Splits an entry value "type:id:text" into its parts; false when it has not that form.
    bool PrivateSplitSettingValue(const wxString& raw, wchar_t& type, long& id, wxString& value);

private:
    // Throws the store's exception with message.
    [[noreturn]] static void PrivateThrow(const wxString& message);
    kxSettingsGroup& PrivateGroup(long id);
    kxSettingsItem& PrivateItem(long group, long item);
    void PrivateLoadStaticGroup(kxSettingsGroup& group);
    void PrivateLoadDynamicGroup(kxSettingsGroup& group);
    void PrivateAddDynamicItem(kxSettingsGroup& group, const wxString* name, const wxString& value);
    void PrivateRestorePath(const wxString& path);
    // The configuration holds exactly the groups the store would write, and no entries beside
    // their items.
    bool PrivateHoldsItsGroupsOnly();
    bool PrivateRewriteInPlace();
    // Replaces the file with the configuration's text in one step.
    bool PrivateWriteFile();
    // The file holds exactly text.
    bool PrivateFileHolds(const std::string& text);
    // The configuration's text as it would be written.
    std::string PrivateSerialize();

    wxString m_staticRoot;
    wxString m_dynamicRoot;
    mutable wxCriticalSection m_lock;
    kxSettingsSet* m_settingsSet;
    wxString m_fileName;
    std::map<wxInt32, kxSettingsGroup> m_groups;
    bool m_frozen;
    // Where the configuration file really is (a relative name resolved as the toolkit does).
    wxString m_filePath;
    // The text last written to the file, and the count of changes made through the store then.
    std::string m_savedText;
    unsigned long long m_changes = 0;
    unsigned long long m_savedChanges = ~0ULL;
};

#endif
