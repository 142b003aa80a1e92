// A stand-in for Word as the export and the saver see it: a COM local server registered as
// "Word.Application" whose objects answer, through IDispatch and by name only, the members the
// export and the saver call, and write every call with its arguments to a log.
//
//   word_stand_in /regserver CONTROL_DIR    registers the server, run with CONTROL_DIR
//   word_stand_in /unregserver              removes the registration
//   word_stand_in CONTROL_DIR -Embedding    as COM starts it
//
// Each start reads CONTROL_DIR\mode.txt: "LOG [ok | fail M | error M | unknown M | empty M |
// hang M MS]",
// where M is a member name or "create" (the class factory), and then appends to CONTROL_DIR\LOG
// one line per call, and writes the document's paragraphs, one a line, to CONTROL_DIR\LOG.doc.
// SaveAs2(FileName, FileFormat) writes at FileName "format N", "name FILENAME" and the paragraphs,
// one a line.
//   fail M     M raises an exception with a description of its own (SaveAs2 having written
//              "partial" at FileName first, as a Word that fails mid-way leaves a piece behind)
//   error M    M raises an exception that gives only its error code (E_FAIL)
//   unknown M  GetIDsOfNames does not know M
//   empty M    M returns nothing instead of an object
//   hang M MS  M withdraws the server from new activations and answers after MS milliseconds

// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// {6B7D3F1E-2C4A-4E8B-9A51-0D3C5E7F9A21}
const CLSID kClsid = {0x6b7d3f1e, 0x2c4a, 0x4e8b, {0x9a, 0x51, 0x0d, 0x3c, 0x5e, 0x7f, 0x9a, 0x21}};
const wchar_t* const kClsidText = L"{6B7D3F1E-2C4A-4E8B-9A51-0D3C5E7F9A21}";
const wchar_t* const kProgId = L"Word.Application";

std::string utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Where a range lies: a story ("main", "header", "footer", "cell T R C", "row T R", "style N")
// and UTF-16 positions in it.
struct Place {
    std::string story = "main";
    long start = 0, end = 0;
};

struct Server {
    std::wstring controlDir;
    std::wstring logPath;
    std::string mode = "ok", member;
    DWORD hangMs = 0;
    DWORD cookie = 0;
    bool registered = false;
    long objects = 0;
    // The document's stories: the main text starts as one empty paragraph, its mark.
    std::map<std::string, std::wstring> stories{{"main", L"\r"}};
    // What the book's calls did, in order: "table 1 5 4", "Subscript true @s,req", ...
    std::vector<std::string> marks;
    int tables = 0;

    std::wstring& document() { return stories["main"]; }
    void newDocument() {
        stories = {{"main", L"\r"}, {"header", L"\r"}, {"footer", L"\r"}};
        marks.clear();
        tables = 0;
    }

    // Open for the server's life, a book being thousands of calls, and shared so that the test can
    // read it and remove it meanwhile.
    HANDLE logFile = INVALID_HANDLE_VALUE;
    void log(const std::string& line) {
        if (logFile == INVALID_HANDLE_VALUE)
            logFile =
                CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        const std::string text = line + "\n";
        DWORD written = 0;
        WriteFile(logFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    void mark(const std::string& line) { marks.push_back(line); }
    void withdraw() {
        if (registered) CoRevokeClassObject(cookie);
        registered = false;
    }
    // The failure asked for, if it is for `name`.
    bool failsHere(const char* kind, const std::string& name) const { return mode == kind && member == name; }
    void hangIfAsked(const std::string& name) {
        if (!failsHere("hang", name)) return;
        log(name + " hangs");
        withdraw();
        Sleep(hangMs);
    }
    // A story's text without its paragraph marks' line breaks: one line a paragraph.
    static std::string paragraphsOf(const std::wstring& story) {
        // Word takes CR LF as one paragraph mark.
        std::wstring text;
        for (std::size_t i = 0; i < story.size(); ++i) {
            if (story[i] == L'\r' && i + 1 < story.size() && story[i + 1] == L'\n') continue;
            text += story[i];
        }
        std::string paragraphs;
        std::size_t start = 0;
        for (std::size_t mark; (mark = text.find(L'\r', start)) != std::wstring::npos; start = mark + 1)
            paragraphs += utf8(text.substr(start, mark - start)) + "\n";
        return paragraphs;
    }
    // The document's paragraphs, one a line; then, where the book's calls made them, the page
    // header and footer ("# header TEXT", "# footer TEXT") and the marks, each "# MARK".
    std::string dump() {
        std::string text = paragraphsOf(document());
        for (const char* story : {"header", "footer"}) {
            std::string line = paragraphsOf(stories[story]);
            while (!line.empty() && line.back() == '\n') line.pop_back();
            if (!line.empty()) text += std::string("# ") + story + " " + line + "\n";
        }
        for (const std::string& m : marks) text += "# " + m + "\n";
        return text;
    }
    void writeDocument() {
        std::ofstream(std::filesystem::path(logPath + L".doc"), std::ios::binary | std::ios::trunc) << dump();
    }

    std::wstring text(const Place& place) {
        const std::wstring& story = stories[place.story];
        const auto from = static_cast<std::size_t>(std::clamp<long>(place.start, 0, static_cast<long>(story.size())));
        const auto to =
            static_cast<std::size_t>(std::clamp<long>(place.end, place.start, static_cast<long>(story.size())));
        std::wstring out = story.substr(from, to - from);
        out.erase(std::remove(out.begin(), out.end(), L'\r'), out.end());
        return out;
    }
    // What a mark says of where it was made: the text there, or the row or style it is of.
    std::string where(const Place& place) {
        if (place.story.starts_with("row ") || place.story.starts_with("style ") || place.story.starts_with("table "))
            return place.story;
        if (place.story.starts_with("cell ")) return place.story + ":" + utf8(text(place));
        return utf8(text(place));
    }
    // Puts `text` in place of the range (a story's last paragraph mark stays) and makes the range
    // cover it.
    void replace(Place& place, const std::wstring& with) {
        std::wstring& story = stories[place.story];
        long end = std::min<long>(place.end, static_cast<long>(story.size()));
        if (end == static_cast<long>(story.size()) && !story.empty() && story.back() == L'\r' && end > place.start)
            --end;
        const long start = std::clamp<long>(place.start, 0, end);
        story.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), with);
        place.start = start;
        place.end = start + static_cast<long>(with.size());
    }
    // The main text's last paragraph, its mark included.
    Place lastParagraph() {
        const std::wstring& main = document();
        const std::size_t before = main.size() < 2 ? std::wstring::npos : main.rfind(L'\r', main.size() - 2);
        return {"main", before == std::wstring::npos ? 0 : static_cast<long>(before + 1),
                static_cast<long>(main.size())};
    }
};

Server server;

enum class Kind {
    Application,
    Documents,
    Document,
    Paragraphs,
    Paragraph,
    Range,
    Font,
    ParagraphFormat,
    Styles,
    Style,
    Tables,
    Table,
    Rows,
    Row,
    Cell,
    Borders,
    InlineShapes,
    InlineShape,
    Sections,
    Section,
    HeadersFooters,
    HeaderFooter,
    Fields,
    Field,
};
const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Application: return "Application";
        case Kind::Documents: return "Documents";
        case Kind::Document: return "Document";
        case Kind::Paragraphs: return "Paragraphs";
        case Kind::Paragraph: return "Paragraph";
        case Kind::Range: return "Range";
        case Kind::Font: return "Font";
        case Kind::ParagraphFormat: return "ParagraphFormat";
        case Kind::Styles: return "Styles";
        case Kind::Style: return "Style";
        case Kind::Tables: return "Tables";
        case Kind::Table: return "Table";
        case Kind::Rows: return "Rows";
        case Kind::Row: return "Row";
        case Kind::Cell: return "Cell";
        case Kind::Borders: return "Borders";
        case Kind::InlineShapes: return "InlineShapes";
        case Kind::InlineShape: return "InlineShape";
        case Kind::Sections: return "Sections";
        case Kind::Section: return "Section";
        case Kind::HeadersFooters: return "HeadersFooters";
        case Kind::HeaderFooter: return "HeaderFooter";
        case Kind::Fields: return "Fields";
        case Kind::Field: return "Field";
    }
    return "?";
}

// The members of each object, by name, and what each takes.
struct Member {
    Kind on;
    const wchar_t* name;
    DISPID id;
    WORD kinds;       // the Invoke flags it answers
    VARTYPE args[4];  // in the order of the call; VT_EMPTY: no (further) argument
    bool returnsObject;
    Kind returns;
    UINT optional = 0;  // how many of the last arguments may be left out
};
constexpr WORD kGet = DISPATCH_PROPERTYGET, kPut = DISPATCH_PROPERTYPUT, kMethod = DISPATCH_METHOD;
const Member kMembers[] = {
    {Kind::Application, L"Visible", 1, kPut, {VT_BOOL}, false, Kind::Application},
    {Kind::Application, L"Documents", 2, kGet, {}, true, Kind::Documents},
    {Kind::Documents, L"Add", 3, kMethod, {}, true, Kind::Document},
    // Paragraphs(1), or the collection.
    {Kind::Document, L"Paragraphs", 4, kMethod | kGet, {VT_I2}, true, Kind::Paragraph, 1},
    {Kind::Paragraph, L"Range", 5, kGet, {}, true, Kind::Range},
    {Kind::Range, L"Text", 6, kPut, {VT_BSTR}, false, Kind::Range},
    {Kind::Application, L"DisplayAlerts", 7, kPut, {VT_I4}, false, Kind::Application},
    {Kind::Document, L"SaveAs2", 8, kMethod, {VT_BSTR, VT_I4}, false, Kind::Document},
    {Kind::Document, L"Close", 9, kMethod, {VT_I4}, false, Kind::Document},
    {Kind::Application, L"Quit", 10, kMethod, {VT_I4}, false, Kind::Application},
    // The book's.
    {Kind::Paragraphs, L"Last", 11, kGet, {}, true, Kind::Paragraph},
    {Kind::Range, L"InsertBefore", 12, kMethod, {VT_BSTR}, false, Kind::Range},
    {Kind::Range, L"InsertParagraphAfter", 13, kMethod, {}, false, Kind::Range},
    {Kind::Range, L"Collapse", 14, kMethod, {VT_I4}, false, Kind::Range},
    {Kind::Range, L"Start", 15, kGet, {}, false, Kind::Range},
    {Kind::Range, L"SetRange", 16, kMethod, {VT_I4, VT_I4}, false, Kind::Range},
    {Kind::Range, L"Style", 17, kPut, {VT_I4}, false, Kind::Range},
    {Kind::Range, L"Font", 18, kGet, {}, true, Kind::Font},
    {Kind::Range, L"ParagraphFormat", 19, kGet, {}, true, Kind::ParagraphFormat},
    {Kind::Range, L"Fields", 20, kGet, {}, true, Kind::Fields},
    {Kind::Font, L"Name", 21, kPut, {VT_BSTR}, false, Kind::Font},
    {Kind::Font, L"NameFarEast", 22, kPut, {VT_BSTR}, false, Kind::Font},
    {Kind::Font, L"Size", 23, kPut, {VT_R4}, false, Kind::Font},
    {Kind::Font, L"Bold", 24, kPut, {VT_BOOL}, false, Kind::Font},
    {Kind::Font, L"Subscript", 25, kPut, {VT_BOOL}, false, Kind::Font},
    {Kind::Font, L"Superscript", 26, kPut, {VT_BOOL}, false, Kind::Font},
    {Kind::ParagraphFormat, L"Alignment", 27, kPut, {VT_I4}, false, Kind::ParagraphFormat},
    {Kind::Document, L"Styles", 28, kGet, {}, true, Kind::Styles},
    {Kind::Styles, L"Item", 29, kMethod | kGet, {VT_I4}, true, Kind::Style},
    {Kind::Style, L"Font", 30, kGet, {}, true, Kind::Font},
    {Kind::Style, L"LanguageIDFarEast", 31, kPut, {VT_I4}, false, Kind::Style},
    {Kind::Document, L"Tables", 32, kGet, {}, true, Kind::Tables},
    {Kind::Tables, L"Add", 33, kMethod, {VT_DISPATCH, VT_I4, VT_I4}, true, Kind::Table},
    {Kind::Table, L"Borders", 34, kGet, {}, true, Kind::Borders},
    {Kind::Borders, L"Enable", 35, kPut, {VT_I4}, false, Kind::Borders},
    {Kind::Table, L"Rows", 36, kGet, {}, true, Kind::Rows},
    {Kind::Rows, L"Item", 37, kMethod | kGet, {VT_I4}, true, Kind::Row},
    {Kind::Row, L"HeadingFormat", 38, kPut, {VT_BOOL}, false, Kind::Row},
    {Kind::Row, L"Range", 39, kGet, {}, true, Kind::Range},
    {Kind::Table, L"Cell", 40, kMethod | kGet, {VT_I4, VT_I4}, true, Kind::Cell},
    {Kind::Cell, L"Range", 41, kGet, {}, true, Kind::Range},
    {Kind::Document, L"InlineShapes", 42, kGet, {}, true, Kind::InlineShapes},
    {Kind::InlineShapes, L"AddPicture", 43, kMethod, {VT_BSTR, VT_BOOL, VT_BOOL, VT_DISPATCH}, true, Kind::InlineShape},
    {Kind::InlineShape, L"Width", 44, kPut, {VT_R4}, false, Kind::InlineShape},
    {Kind::InlineShape, L"Height", 45, kPut, {VT_R4}, false, Kind::InlineShape},
    {Kind::Document, L"Sections", 46, kGet, {}, true, Kind::Sections},
    {Kind::Sections, L"Item", 47, kMethod | kGet, {VT_I4}, true, Kind::Section},
    {Kind::Section, L"Headers", 48, kGet, {}, true, Kind::HeadersFooters},
    {Kind::Section, L"Footers", 49, kGet, {}, true, Kind::HeadersFooters},
    {Kind::HeadersFooters, L"Item", 50, kMethod | kGet, {VT_I4}, true, Kind::HeaderFooter},
    {Kind::HeaderFooter, L"Range", 51, kGet, {}, true, Kind::Range},
    {Kind::Fields, L"Add", 52, kMethod, {VT_DISPATCH, VT_I4}, true, Kind::Field},
    {Kind::Table, L"Range", 53, kGet, {}, true, Kind::Range},
};

std::string flagsText(WORD flags) {
    std::string text;
    if (flags & DISPATCH_METHOD) text += "method";
    if (flags & DISPATCH_PROPERTYGET) text += text.empty() ? "get" : "|get";
    if (flags & DISPATCH_PROPERTYPUT) text += text.empty() ? "put" : "|put";
    return text;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string argText(const VARIANT& v) {
    switch (v.vt) {
        case VT_BOOL: return std::string("VT_BOOL ") + (v.boolVal == VARIANT_TRUE ? "true" : "false");
        case VT_I2: return "VT_I2 " + std::to_string(v.iVal);
        case VT_I4: return "VT_I4 " + std::to_string(v.lVal);
        case VT_R4: return "VT_R4 " + number(v.fltVal);
        case VT_BSTR: return "VT_BSTR " + std::to_string(SysStringLen(v.bstrVal));
        case VT_DISPATCH: return "VT_DISPATCH";
        default: return "VT " + std::to_string(v.vt);
    }
}

// The stand-in's own objects answer this interface with themselves, so that a range given back
// as an argument is known for what it is.
// {0B1E6D42-7A3C-4F59-8E21-6C4D2B9F7A13}
const IID kIidSelf = {0x0b1e6d42, 0x7a3c, 0x4f59, {0x8e, 0x21, 0x6c, 0x4d, 0x2b, 0x9f, 0x7a, 0x13}};

class Object final : public IDispatch {
public:
    explicit Object(Kind kind, Place place = {}) : kind_(kind), place_(std::move(place)) { ++server.objects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIidSelf)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            server.log(std::string("release ") + kindName(kind_));
            if (kind_ == Kind::Document) server.writeDocument();
            if (--server.objects == 0) {
                server.withdraw();
                PostQuitMessage(0);
            }
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1) return DISP_E_UNKNOWNNAME;
        for (const Member& m : kMembers) {
            if (m.on != kind_ || _wcsicmp(m.name, names[0]) != 0) continue;
            if (server.failsHere("unknown", utf8(m.name))) break;
            ids[0] = m.id;
            return S_OK;
        }
        server.log(std::string(kindName(kind_)) + "." + utf8(names[0]) + " unknown");
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override {
        const Member* member = nullptr;
        for (const Member& m : kMembers)
            if (m.on == kind_ && m.id == id) member = &m;
        if (!member) return DISP_E_MEMBERNOTFOUND;
        const std::string name = utf8(member->name);
        std::string line = std::string(kindName(kind_)) + "." + name + " " + flagsText(flags);
        for (UINT i = params->cArgs; i-- > 0;) line += " " + argText(params->rgvarg[i]);
        server.log(line);

        // What Word would refuse: a call of a kind the member does not answer, a property put
        // without its named argument, arguments of the wrong number or type.
        if (!(flags & member->kinds)) return DISP_E_MEMBERNOTFOUND;
        const bool put = flags & DISPATCH_PROPERTYPUT;
        if (put && (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTOPTIONAL;
        UINT wanted = 0;
        while (wanted < 4 && member->args[wanted] != VT_EMPTY) ++wanted;
        if (params->cArgs > wanted || params->cArgs + member->optional < wanted) return DISP_E_BADPARAMCOUNT;
        const UINT given = params->cArgs;
        // rgvarg holds the last argument first.
        auto arg = [&](UINT i) -> const VARIANT& { return params->rgvarg[given - 1 - i]; };
        for (UINT i = 0; i < given; ++i)
            if (arg(i).vt != member->args[i]) return DISP_E_TYPEMISMATCH;
        if (given > 0 && member->args[0] == VT_I2 && arg(0).iVal != 1) return DISP_E_BADINDEX;

        server.hangIfAsked(name);
        const bool saving = name == "SaveAs2";
        const std::wstring fileName = saving ? std::wstring(arg(0).bstrVal, SysStringLen(arg(0).bstrVal)) : L"";
        if (saving && server.failsHere("fail", name))
            std::ofstream(std::filesystem::path(fileName), std::ios::binary | std::ios::trunc) << "partial\n";
        if (server.failsHere("fail", name)) {
            if (info) {
                *info = EXCEPINFO{};
                info->bstrSource = SysAllocString(L"Word stand-in");
                info->bstrDescription = SysAllocString((L"模拟的拒绝：" + std::wstring(member->name)).c_str());
                info->scode = E_FAIL;
            }
            return DISP_E_EXCEPTION;
        }
        if (server.failsHere("error", name)) {
            if (info) {
                *info = EXCEPINFO{};
                info->scode = E_FAIL;
            }
            return DISP_E_EXCEPTION;
        }
        if (name == "Add" && kind_ == Kind::Documents) server.newDocument();
        if (saving) {
            std::ofstream file(std::filesystem::path(fileName), std::ios::binary | std::ios::trunc);
            file << "format " << arg(1).lVal << "\nname " << utf8(fileName) << "\n" << server.dump();
            if (!file.flush()) return E_ACCESSDENIED;
        }
        Place made = place_;  // where the object returned lies
        Kind returns = member->returns;
        if (const HRESULT hr = act(name, given, arg, made, returns); FAILED(hr)) return hr;
        if (name == "Start" && result) {
            VariantInit(result);
            result->vt = VT_I4;
            result->lVal = place_.start;
        }
        if (member->returnsObject && result) {
            VariantInit(result);
            if (server.failsHere("empty", name)) return S_OK;
            result->vt = VT_DISPATCH;
            result->pdispVal = new Object(returns, made);
        }
        return S_OK;
    }

private:
    // What the call does to the document; `made` and `returns` say what it gives back.
    template <class Arg>
    HRESULT act(const std::string& name, UINT given, const Arg& arg, Place& made, Kind& returns) {
        auto text = [&](UINT i) { return std::wstring(arg(i).bstrVal, SysStringLen(arg(i).bstrVal)); };
        switch (kind_) {
            case Kind::Document:
                if (name == "Paragraphs") {
                    // Paragraph 1 of a new document: its only paragraph, the mark.
                    if (given == 0) returns = Kind::Paragraphs;
                    made = {"main", 0, static_cast<long>(server.document().find(L'\r') + 1)};
                }
                return S_OK;
            case Kind::Paragraphs: made = server.lastParagraph(); return S_OK;
            case Kind::Range: return actOnRange(name, arg, text, made);
            case Kind::Font:
                if (place_.story.starts_with("style "))
                    server.mark(place_.story + " " + name + " " +
                                (arg(0).vt == VT_BSTR  ? utf8(text(0))
                                 : arg(0).vt == VT_R4  ? number(arg(0).fltVal)
                                 : arg(0).boolVal != 0 ? "true"
                                                       : "false"));
                else
                    server.mark(name + (arg(0).vt == VT_BOOL ? (arg(0).boolVal ? " true" : " false") : "") + " @" +
                                server.where(place_));
                return S_OK;
            case Kind::ParagraphFormat:
                server.mark("Alignment " + std::to_string(arg(0).lVal) + " @" + server.where(place_));
                return S_OK;
            case Kind::Styles: made = {"style " + std::to_string(arg(0).lVal)}; return S_OK;
            case Kind::Style:
                if (name == "LanguageIDFarEast")
                    server.mark(place_.story + " LanguageIDFarEast " + std::to_string(arg(0).lVal));
                return S_OK;
            case Kind::Tables: {
                Object* at = self(arg(0));
                if (!at || at->kind_ != Kind::Range) return DISP_E_TYPEMISMATCH;
                const int table = ++server.tables;
                server.mark("table " + std::to_string(table) + " " + std::to_string(arg(1).lVal) + " " +
                            std::to_string(arg(2).lVal));
                Place there = at->place_;
                server.replace(there, L"[table " + std::to_wstring(table) + L"]\r");
                made = {"table " + std::to_string(table) + " " + std::to_string(arg(1).lVal) + " " +
                        std::to_string(arg(2).lVal)};
                return S_OK;
            }
            case Kind::Table: {
                // "table T ROWS COLUMNS"
                int table = 0, rows = 0, columns = 0;
                std::sscanf(place_.story.c_str(), "table %d %d %d", &table, &rows, &columns);
                if (name == "Borders" || name == "Range") made = {"table " + std::to_string(table)};
                if (name == "Cell") {
                    if (arg(0).lVal < 1 || arg(0).lVal > rows || arg(1).lVal < 1 || arg(1).lVal > columns)
                        return DISP_E_BADINDEX;
                    made = {"cell " + std::to_string(table) + " " + std::to_string(arg(0).lVal) + " " +
                            std::to_string(arg(1).lVal)};
                }
                return S_OK;
            }
            case Kind::Borders:
                server.mark("Borders " + place_.story.substr(6) + " Enable " + std::to_string(arg(0).lVal));
                return S_OK;
            case Kind::Rows: {
                int table = 0, rows = 0;
                std::sscanf(place_.story.c_str(), "table %d %d", &table, &rows);
                if (arg(0).lVal < 1 || arg(0).lVal > rows) return DISP_E_BADINDEX;
                made = {"row " + std::to_string(table) + " " + std::to_string(arg(0).lVal)};
                return S_OK;
            }
            case Kind::Row:
                if (name == "HeadingFormat")
                    server.mark(std::string("HeadingFormat ") + (arg(0).boolVal ? "true" : "false") + " @" +
                                place_.story);
                return S_OK;
            case Kind::Cell:
                made = {place_.story, 0, static_cast<long>(server.stories[place_.story].size())};
                return S_OK;
            case Kind::InlineShapes: {
                Object* at = self(arg(3));
                if (!at || at->kind_ != Kind::Range) return DISP_E_TYPEMISMATCH;
                // What the file holds at the time of the call.
                std::ifstream file(std::filesystem::path(text(0)), std::ios::binary);
                const std::string svg{std::istreambuf_iterator<char>(file), {}};
                const bool isSvg = file && svg.starts_with("<?xml") && svg.find("<svg") != std::string::npos &&
                                   svg.find("</svg>") != std::string::npos;
                server.mark(std::string("picture ") +
                            (isSvg  ? "svg"
                             : file ? "other"
                                    : "missing") +
                            " " + std::to_string(svg.size()) + " link " + (arg(1).boolVal ? "true" : "false") +
                            " save " + (arg(2).boolVal ? "true" : "false") + " " +
                            std::filesystem::path(text(0)).extension().string());
                Place there = at->place_;
                server.replace(there, L"[picture]");
                return S_OK;
            }
            case Kind::InlineShape: server.mark(name + " " + number(arg(0).fltVal)); return S_OK;
            case Kind::Section: made = {name == "Headers" ? "header" : "footer"}; return S_OK;
            case Kind::HeadersFooters:
                if (arg(0).lVal != 1) return DISP_E_BADINDEX;  // the primary one
                return S_OK;
            case Kind::HeaderFooter:
                made = {place_.story, 0, static_cast<long>(server.stories[place_.story].size())};
                return S_OK;
            case Kind::Fields: {
                Object* at = self(arg(0));
                if (!at || at->kind_ != Kind::Range) return DISP_E_TYPEMISMATCH;
                const long type = arg(1).lVal;
                server.mark("field " + at->place_.story + " " + std::to_string(type));
                Place there = at->place_;
                server.replace(there, type == 33   ? L"{PAGE}"
                                      : type == 26 ? L"{NUMPAGES}"
                                                   : L"{" + std::to_wstring(type) + L"}");
                return S_OK;
            }
            default: return S_OK;
        }
    }

    template <class Arg, class Text>
    HRESULT actOnRange(const std::string& name, const Arg& arg, const Text& text, Place& made) {
        if (name == "Text") {
            server.replace(place_, text(0));
            if (place_.story.starts_with("cell ")) server.mark(server.where(place_));
            if (place_.story == "main") server.writeDocument();
        } else if (name == "InsertBefore") {
            const std::wstring piece = text(0);
            server.stories[place_.story].insert(static_cast<std::size_t>(place_.start), piece);
            place_.end += static_cast<long>(piece.size());
        } else if (name == "InsertParagraphAfter") {
            server.stories[place_.story].insert(static_cast<std::size_t>(place_.end), L"\r");
            place_.end += 1;
        } else if (name == "Collapse") {
            if (arg(0).lVal == 1)
                place_.end = place_.start;
            else
                place_.start = place_.end;
        } else if (name == "SetRange") {
            const long size = static_cast<long>(server.stories[place_.story].size());
            if (arg(0).lVal < 0 || arg(1).lVal < arg(0).lVal || arg(1).lVal > size) return E_INVALIDARG;
            place_.start = arg(0).lVal;
            place_.end = arg(1).lVal;
        } else if (name == "Style") {
            server.mark("style " + std::to_string(arg(0).lVal) + " @" + server.where(place_));
        }
        made = place_;
        return S_OK;
    }

    static Object* self(const VARIANT& v) {
        if (v.vt != VT_DISPATCH || !v.pdispVal) return nullptr;
        void* p = nullptr;
        if (FAILED(v.pdispVal->QueryInterface(kIidSelf, &p))) return nullptr;
        Object* object = static_cast<Object*>(static_cast<IDispatch*>(p));
        object->Release();
        return object;
    }

    Kind kind_;
    Place place_;
    ULONG refs_ = 1;
};

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        server.log("create Application");
        server.hangIfAsked("create");
        Object* application = new Object(Kind::Application);
        const HRESULT hr = application->QueryInterface(riid, out);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

std::wstring selfPath() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

bool setValue(const std::wstring& key, const std::wstring& value) {
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

int registerServer(const std::wstring& controlDir) {
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
    const bool ok = setValue(std::wstring(kProgId) + L"\\CLSID", kClsidText) &&
                    setValue(clsidKey + L"\\ProgID", kProgId) &&
                    setValue(clsidKey + L"\\LocalServer32", L"\"" + selfPath() + L"\" \"" + controlDir + L"\"");
    return ok ? 0 : 1;
}

int unregisterServer() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsidText).c_str());
    return 0;
}

int serve(const std::wstring& controlDir) {
    server.controlDir = controlDir;
    std::ifstream modeFile(std::filesystem::path(controlDir + L"\\mode.txt"));
    std::string logName;
    modeFile >> logName >> server.mode >> server.member >> server.hangMs;
    if (logName.empty()) return 1;
    server.logPath = controlDir + L"\\" + std::wstring(logName.begin(), logName.end());

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    static Factory factory;
    if (FAILED(CoRegisterClassObject(kClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &server.cookie))) {
        CoUninitialize();
        return 1;
    }
    server.registered = true;
    // A server whose client went away without releasing it ends all the same.
    SetTimer(nullptr, 0, 60000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) break;
        DispatchMessageW(&message);
    }
    server.withdraw();
    CoUninitialize();
    return 0;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    const std::wstring first = argv[1];
    if (first == L"/regserver" && argc == 3) return registerServer(argv[2]);
    if (first == L"/unregserver") return unregisterServer();
    return serve(first);
}
