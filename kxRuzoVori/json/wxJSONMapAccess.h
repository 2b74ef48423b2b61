// Direct access to the buckets of a JSON object's hash map, for the reader and writer: a member
// is stored with a single copy of its name, and a walk over the members does not hash every key
// again as the map's own iterator does when it moves from one bucket to the next. The walk
// visits the members in the same order as that iterator. Internal to the library.
#ifndef KXRUZOVORI_JSON_WXJSONMAPACCESS_H
#define KXRUZOVORI_JSON_WXJSONMAPACCESS_H

#include "kxRuzoVori/json/wxJSONValue.h"

struct wxJSONMapAccess : wxJSONInternalMap
{
    typedef wxJSONInternalMap_wxImplementation_HashTable Table;

    // Stores value under key, replacing an earlier member of that name; key is left empty.
    static wxJSONValue& Store(wxJSONInternalMap& map, wxString& key, const wxJSONValue& value)
    {
        value_type pair(wxString(), value);
        pair.first.swap(key);
        bool created;
        Node* (Table::*create)(const value_type&, bool&) = &wxJSONMapAccess::GetOrCreateNode;
        Node* node = (map.*create)(pair, created);
        if (!created)
            node->m_value.second = value;
        return node->m_value.second;
    }

    // Calls visit(name, value, isLast) for every member, in the map's iteration order.
    template <class Visit> static bool ForEach(const wxJSONInternalMap& map, Visit visit)
    {
        _wxHashTable_NodeBase** Table::*table = &wxJSONMapAccess::m_table;
        size_t Table::*buckets = &wxJSONMapAccess::m_tableBuckets;
        size_t left = map.size();
        _wxHashTable_NodeBase** first = map.*table;
        const size_t count = map.*buckets;
        for (size_t b = 0; b < count && left; ++b)
            for (_wxHashTable_NodeBase* n = first[b]; n; n = n->m_next)
            {
                const Node* node = static_cast<const Node*>(n);
                --left;
                if (!visit(node->m_value.first, node->m_value.second, left == 0))
                    return false;
            }
        return true;
    }
};

#endif
