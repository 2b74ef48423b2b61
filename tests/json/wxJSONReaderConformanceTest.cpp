// The reader and writer against a public corpus of JSON parser test files: every file is read
// without harm, every valid document reads cleanly into the same values a strict reference
// parser finds, and every tree read survives writing in each style and reading back.
#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONWriter.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/mstream.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
struct CorpusFile
{
    std::string m_name;
    std::string m_bytes;
};

std::vector<CorpusFile> LoadCorpus()
{
    std::vector<CorpusFile> files;
    wxString folder = kxTestSharedDir() + "/json-conformance";
    wxArrayString names;
    wxDir::GetAllFiles(folder, &names, "*.json", wxDIR_FILES);
    names.Sort();
    for (const wxString& path : names)
    {
        std::ifstream in(path.fn_str(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files.push_back({wxFileName(path).GetFullName().ToStdString(), bytes.str()});
    }
    return files;
}

const std::vector<CorpusFile>& Corpus()
{
    static const std::vector<CorpusFile> files = LoadCorpus();
    return files;
}

int Parse(const std::string& bytes, int flags, wxJSONValue& root)
{
    wxJSONReader reader(flags);
    wxMemoryInputStream is(bytes.data(), bytes.size());
    return reader.Parse(is, &root);
}

std::string Utf8(const wxString& text)
{
    wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}

// Whether the tree holds what the reference parser read; why says where it differs.
bool SameAsReference(const wxJSONValue& v, const nlohmann::json& j, std::string& why)
{
    using json = nlohmann::json;
    bool same = false;
    switch (j.type())
    {
    case json::value_t::null:
        same = v.IsNull();
        break;
    case json::value_t::boolean:
        same = v.IsBool() && v.AsBool() == j.get<bool>();
        break;
    case json::value_t::number_integer:
        same = v.IsInt64() && v.AsInt64() == j.get<long long>();
        break;
    case json::value_t::number_unsigned:
        same = (v.IsInt64() && v.AsInt64() >= 0 &&
                static_cast<unsigned long long>(v.AsInt64()) == j.get<unsigned long long>()) ||
               (v.IsUInt64() && v.AsUInt64() == j.get<unsigned long long>());
        break;
    case json::value_t::number_float:
        same = v.IsDouble() && v.AsDouble() == j.get<double>();
        break;
    case json::value_t::string:
        same = v.IsString() && Utf8(v.AsString()) == j.get<std::string>();
        break;
    case json::value_t::array:
        same = v.IsArray() && v.Size() == static_cast<int>(j.size());
        for (size_t i = 0; same && i < j.size(); ++i)
            same = SameAsReference(v.ItemAt(static_cast<unsigned>(i)), j[i], why);
        break;
    case json::value_t::object:
        same = v.IsObject() && v.Size() == static_cast<int>(j.size());
        for (auto it = j.begin(); same && it != j.end(); ++it)
        {
            const wxJSONValue* member =
                v.Find(wxString::FromUTF8(it.key().data(), it.key().size()));
            same = member && SameAsReference(*member, it.value(), why);
        }
        break;
    default:
        break;
    }
    if (!same && why.empty())
        why = "differs at " + j.dump() + " (read " + Utf8(v.AsString()) + ")";
    return same;
}

bool StartsWithBracket(const std::string& bytes)
{
    size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string::npos && (bytes[first] == '[' || bytes[first] == '{');
}
} // namespace

TEST(wxJSONConformance, CorpusIsThere)
{
    EXPECT_GE(Corpus().size(), 100u);
}

TEST(wxJSONConformance, EveryFileIsReadWithEveryFlagSet)
{
    const int flagSets[] = {wxJSONREADER_STRICT, wxJSONREADER_TOLERANT,
                            wxJSONREADER_TOLERANT | wxJSONREADER_STORE_COMMENTS,
                            wxJSONREADER_TOLERANT | wxJSONREADER_STORE_COMMENTS |
                                wxJSONREADER_COMMENTS_AFTER};
    for (const CorpusFile& file : Corpus())
    {
        SCOPED_TRACE(file.m_name);
        for (int flags : flagSets)
        {
            wxJSONValue root;
            int errors = Parse(file.m_bytes, flags, root);
            EXPECT_GE(errors, 0);
            EXPECT_LE(errors, 31); // the maximum plus the "too many" line
        }
    }
}

TEST(wxJSONConformance, ValidDocumentsReadCleanlyToTheReferenceValues)
{
    int checked = 0;
    for (const CorpusFile& file : Corpus())
    {
        if (file.m_name.compare(0, 2, "y_") != 0 || !StartsWithBracket(file.m_bytes))
            continue;
        SCOPED_TRACE(file.m_name);
        wxJSONReader reader(wxJSONREADER_STRICT);
        wxJSONValue root;
        wxMemoryInputStream is(file.m_bytes.data(), file.m_bytes.size());
        EXPECT_EQ(reader.Parse(is, &root), 0)
            << (reader.GetErrorCount() ? reader.GetErrors()[0] : wxString());
        EXPECT_EQ(reader.GetWarningCount(), 0);
        nlohmann::json reference = nlohmann::json::parse(file.m_bytes);
        std::string why;
        EXPECT_TRUE(SameAsReference(root, reference, why)) << why;
        ++checked;
    }
    EXPECT_GE(checked, 30);
}

TEST(wxJSONConformance, EveryTreeSurvivesWritingAndReadingBack)
{
    const int styles[] = {
        wxJSONWRITER_NONE,
        wxJSONWRITER_STYLED,
        wxJSONWRITER_STYLED | wxJSONWRITER_WRITE_COMMENTS,
        wxJSONWRITER_RECOGNIZE_UNSIGNED,
        wxJSONWRITER_STYLED | wxJSONWRITER_SPLIT_STRING | wxJSONWRITER_WRITE_COMMENTS |
            wxJSONWRITER_TAB_INDENT | wxJSONWRITER_MULTILINE_STRING | wxJSONWRITER_ESCAPE_SOLIDUS,
    };
    const int readFlags = wxJSONREADER_TOLERANT | wxJSONREADER_STORE_COMMENTS;
    for (const CorpusFile& file : Corpus())
    {
        SCOPED_TRACE(file.m_name);
        wxJSONValue first;
        Parse(file.m_bytes, readFlags, first);
        for (int style : styles)
        {
            SCOPED_TRACE(style);
            wxJSONWriter writer(style);
            writer.SetDoubleFmtString("%.17g");
            wxMemoryOutputStream os;
            writer.Write(first, os);
            std::string text(os.GetSize(), '\0');
            if (!text.empty())
                os.CopyTo(&text[0], text.size());

            wxJSONValue second;
            wxJSONReader reader(readFlags);
            wxMemoryInputStream is(text.data(), text.size());
            reader.Parse(is, &second);
            EXPECT_TRUE(first.IsSameAs(second)) << text;
        }
    }
}
