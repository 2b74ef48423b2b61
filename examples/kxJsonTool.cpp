// kxJsonTool: checks a JSON file and prints it indented, or says where it is wrong.
//
//   kxJsonTool [--strict] [--compact] FILE
//
// Errors and warnings go to the standard error as "Error: line 3, col 7 - ..." and the program
// exits with 1 when the file has errors (2 when it cannot be read). Comments, mis-cased literals,
// missing closing brackets and the other departures the reader tolerates are warnings unless
// --strict is given; comments are kept and written back in place.
#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONWriter.h"

#include <wx/init.h>
#include <wx/wfstream.h>

#include <cstdio>

namespace
{
int Usage()
{
    std::fputs("usage: kxJsonTool [--strict] [--compact] FILE\n", stderr);
    return 2;
}

void Print(const wxArrayString& lines)
{
    for (const wxString& line : lines)
        std::fprintf(stderr, "%s\n", static_cast<const char*>(line.utf8_str()));
}
} // namespace

int main(int argc, char** argv)
{
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk())
        return 2;

    bool strict = false;
    bool compact = false;
    wxString path;
    for (int i = 1; i < argc; ++i)
    {
        const wxString argument = wxString::FromUTF8(argv[i]);
        if (argument == wxS("--strict"))
            strict = true;
        else if (argument == wxS("--compact"))
            compact = true;
        else if (path.empty() && !argument.StartsWith(wxS("-")))
            path = argument;
        else
            return Usage();
    }
    if (path.empty())
        return Usage();

    wxFileInputStream file(path);
    if (!file.IsOk())
    {
        std::fprintf(stderr, "kxJsonTool: cannot read %s\n",
                     static_cast<const char*>(path.utf8_str()));
        return 2;
    }

    // Keeping comments lets the tool rewrite a commented configuration file without losing them.
    const int flags = (strict ? wxJSONREADER_STRICT : wxJSONREADER_TOLERANT) |
                      wxJSONREADER_STORE_COMMENTS | wxJSONREADER_COMMENTS_AFTER;
    wxJSONReader reader(flags, 100);
    wxJSONValue root;
    const int errors = reader.Parse(file, &root);
    Print(reader.GetWarnings());
    Print(reader.GetErrors());
    if (errors > 0)
        return 1;

    wxFFileOutputStream out(stdout);
    const int style =
        compact ? wxJSONWRITER_NONE : wxJSONWRITER_STYLED | wxJSONWRITER_WRITE_COMMENTS;
    wxJSONWriter(style).Write(root, out);
    if (compact) // styled output ends its last line itself
        out.Write("\n", 1);
    return out.IsOk() ? 0 : 2;
}
