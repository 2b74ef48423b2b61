// Direct access to the buckets of a JSON object's hash map, for the reader and writer: a member
// is stored with a single copy of its name, and a walk over the members does not hash every key
// again as the map's own iterator does when it moves from one bucket to the next. The walk
// visits the members in the same order as that iterator. Internal to the library.
#ifndef KXRUZOVORI_JSON_WXJSONMAPACCESS_H
#define KXRUZOVORI_JSON_WXJSONMAPACCESS_H

#include "kxRuzoVori/json/wxJSONValue.h"

#include <wx/version.h>

#include <algorithm>
#include <type_traits>

// Asks for a value's data to be brought into the cache before it is needed.
inline void wxJSONPrefetch(const wxJSONValue& value)
{
    const char* data = reinterpret_cast<const char*>(value.GetRefData());
    if (data)
    {
        __builtin_prefetch(data);
        __builtin_prefetch(data + sizeof(wxJSONRefData) - 1);
    }
}

// Asks for the record that holds a container value's members or elements to be brought into the
// cache. It reads the value's data, which should be on its way already.
inline void wxJSONPrefetchStorage(const wxJSONValue& value)
{
    const wxJSONRefData* data = value.GetRefData();
    if (!data)
        return;
    if (data->m_valMap)
        __builtin_prefetch(data->m_valMap);
    else if (data->m_valArray)
        __builtin_prefetch(data->m_valArray);
}

// Store and ForEach follow the hash table that the toolkit's macros in <wx/hashmap.h> write out in
// its 3.2 series: buckets chained through m_next, a key's bucket its wxStringHash modulo the
// bucket count, a new node first in its bucket, growth by grow_lf70 and ResizeTable. The checks
// below make a toolkit whose table may differ fail the build instead of misplacing members.
#if wxUSE_STD_CONTAINERS
#error "the JSON object map expects the toolkit's own hash table, not the standard one"
#endif
static_assert(wxCHECK_VERSION(3, 2, 0) && !wxCHECK_VERSION(3, 3, 0),
              "the JSON object map's direct access was written for the toolkit's 3.2 hash table: "
              "check wxJSONMapAccess against this version's <wx/hashmap.h> and widen the range");

struct wxJSONMapAccess : wxJSONInternalMap
{
    typedef wxJSONInternalMap_wxImplementation_HashTable Table;

    static_assert(std::is_same<Table::hasher, wxStringHash>::value &&
                      std::is_same<Table::key_equal, wxStringEqual>::value,
                  "members are placed by the hash the map looks them up with");
    static_assert(
        std::is_base_of<_wxHashTable_NodeBase, Node>::value &&
            std::is_same<decltype(_wxHashTable_NodeBase::m_next), _wxHashTable_NodeBase*>::value &&
            std::is_same<decltype(Node::m_value), value_type>::value,
        "nodes are chained through their base");
    static_assert(std::is_same<decltype(m_table), _wxHashTable_NodeBase**>::value &&
                      std::is_same<decltype(m_tableBuckets), size_t>::value &&
                      std::is_same<decltype(m_items), size_t>::value,
                  "the table is an array of bucket heads with its counts beside it");

    // Stores value under key, replacing an earlier member of that name; key is left empty. The
    // name is hashed once and moved into the new member, where the map's own insertion would
    // hash it twice and copy it.
    static wxJSONValue& Store(wxJSONInternalMap& map, wxString& key, const wxJSONValue& value)
    {
        _wxHashTable_NodeBase** Table::*table = &wxJSONMapAccess::m_table;
        size_t Table::*buckets = &wxJSONMapAccess::m_tableBuckets;
        size_t Table::*items = &wxJSONMapAccess::m_items;
        void (Table::*resize)(size_t) = &wxJSONMapAccess::ResizeTable;

        const size_t bucket = wxStringHash()(key) % (map.*buckets);
        _wxHashTable_NodeBase** slot = &(map.*table)[bucket];
        for (_wxHashTable_NodeBase* n = *slot; n; n = n->m_next)
        {
            Node* node = static_cast<Node*>(n);
            if (node->m_value.first == key)
            {
                node->m_value.second = value;
                key.clear();
                return node->m_value.second;
            }
        }
        Node* node = new Node(value_type(wxString(), value));
        node->m_value.first.swap(key);
        node->m_next = *slot;
        *slot = node;
        if (grow_lf70(map.*buckets, ++(map.*items)))
            (map.*resize)(map.*buckets);
        return node->m_value.second;
    }

    // Asks for the bucket heads of an object value's map to be brought into the cache; reads the
    // map record, which should be on its way already.
    static void PrefetchTable(const wxJSONValue& value)
    {
        const wxJSONRefData* data = value.GetRefData();
        if (data && data->m_valMap)
            __builtin_prefetch((*data->m_valMap).*(&wxJSONMapAccess::m_table));
    }

    // Asks for the first members of an object value's map to be brought into the cache; reads
    // its bucket heads, which should be on their way already.
    static void PrefetchMembers(const wxJSONValue& value)
    {
        const wxJSONRefData* data = value.GetRefData();
        if (!data || !data->m_valMap)
            return;
        const wxJSONInternalMap& map = *data->m_valMap;
        _wxHashTable_NodeBase** const first = map.*(&wxJSONMapAccess::m_table);
        const size_t count = std::min<size_t>(map.*(&wxJSONMapAccess::m_tableBuckets), 16);
        for (size_t i = 0; i < count; ++i)
            if (first[i])
                __builtin_prefetch(first[i]);
    }

    // Calls visit(name, value, isLast) for every member, in the map's iteration order. Members
    // are taken in small batches whose data is fetched ahead, so that walking a large tree waits
    // for memory once per batch rather than once per member.
    template <class Visit> static bool ForEach(const wxJSONInternalMap& map, Visit visit)
    {
        _wxHashTable_NodeBase** Table::*table = &wxJSONMapAccess::m_table;
        size_t Table::*buckets = &wxJSONMapAccess::m_tableBuckets;
        _wxHashTable_NodeBase** const first = map.*table;
        const size_t count = map.*buckets;
        size_t left = map.size();
        size_t bucket = 0;
        const _wxHashTable_NodeBase* next = nullptr;
        const size_t batchSize = 16;
        const Node* batch[batchSize];
        while (left)
        {
            size_t taken = 0;
            while (taken < batchSize && taken < left)
            {
                while (!next && bucket < count)
                    next = first[bucket++];
                if (!next)
                    break;
                batch[taken++] = static_cast<const Node*>(next);
                next = next->m_next;
            }
            if (!taken)
                break;
            for (size_t i = 0; i < taken; ++i)
            {
                wxJSONPrefetch(batch[i]->m_value.second);
                __builtin_prefetch(batch[i]->m_value.first.wx_str());
            }
            for (size_t i = 0; i < taken; ++i)
            {
                --left;
                if (!visit(batch[i]->m_value.first, batch[i]->m_value.second, left == 0))
                    return false;
            }
        }
        return true;
    }
};

#endif
