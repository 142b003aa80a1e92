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

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

struct Server {
    std::wstring controlDir;
    std::wstring logPath;
    std::string mode = "ok", member;
    DWORD hangMs = 0;
    DWORD cookie = 0;
    bool registered = false;
    long objects = 0;
    std::wstring document = L"\r";  // an empty document: one paragraph, its mark

    void log(const std::string& line) {
        std::ofstream(std::filesystem::path(logPath), std::ios::app | std::ios::binary) << line << "\n";
    }
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
    // The document's paragraphs, one a line.
    std::string paragraphs() const {
        // Word takes CR LF as one paragraph mark.
        std::wstring text;
        for (std::size_t i = 0; i < document.size(); ++i) {
            if (document[i] == L'\r' && i + 1 < document.size() && document[i + 1] == L'\n') continue;
            text += document[i];
        }
        std::string paragraphs;
        std::size_t start = 0;
        for (std::size_t mark; (mark = text.find(L'\r', start)) != std::wstring::npos; start = mark + 1)
            paragraphs += utf8(text.substr(start, mark - start)) + "\n";
        return paragraphs;
    }
    void writeDocument() const {
        std::ofstream(std::filesystem::path(logPath + L".doc"), std::ios::binary | std::ios::trunc) << paragraphs();
    }
};

Server server;

enum class Kind { Application, Documents, Document, Paragraph, Range };
const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Application: return "Application";
        case Kind::Documents: return "Documents";
        case Kind::Document: return "Document";
        case Kind::Paragraph: return "Paragraph";
        case Kind::Range: return "Range";
    }
    return "?";
}

// The members of each object, by name, and what each takes.
struct Member {
    Kind on;
    const wchar_t* name;
    DISPID id;
    WORD kinds;       // the Invoke flags it answers
    VARTYPE args[2];  // in the order of the call; VT_EMPTY: no (further) argument
    bool returnsObject;
    Kind returns;
};
const Member kMembers[] = {
    {Kind::Application, L"Visible", 1, DISPATCH_PROPERTYPUT, {VT_BOOL}, false, Kind::Application},
    {Kind::Application, L"Documents", 2, DISPATCH_PROPERTYGET, {}, true, Kind::Documents},
    {Kind::Documents, L"Add", 3, DISPATCH_METHOD, {}, true, Kind::Document},
    {Kind::Document, L"Paragraphs", 4, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {VT_I2}, true, Kind::Paragraph},
    {Kind::Paragraph, L"Range", 5, DISPATCH_PROPERTYGET, {}, true, Kind::Range},
    {Kind::Range, L"Text", 6, DISPATCH_PROPERTYPUT, {VT_BSTR}, false, Kind::Range},
    {Kind::Application, L"DisplayAlerts", 7, DISPATCH_PROPERTYPUT, {VT_I4}, false, Kind::Application},
    {Kind::Document, L"SaveAs2", 8, DISPATCH_METHOD, {VT_BSTR, VT_I4}, false, Kind::Document},
    {Kind::Document, L"Close", 9, DISPATCH_METHOD, {VT_I4}, false, Kind::Document},
    {Kind::Application, L"Quit", 10, DISPATCH_METHOD, {VT_I4}, false, Kind::Application},
};

std::string flagsText(WORD flags) {
    std::string text;
    if (flags & DISPATCH_METHOD) text += "method";
    if (flags & DISPATCH_PROPERTYGET) text += text.empty() ? "get" : "|get";
    if (flags & DISPATCH_PROPERTYPUT) text += text.empty() ? "put" : "|put";
    return text;
}

std::string argText(const VARIANT& v) {
    switch (v.vt) {
        case VT_BOOL: return std::string("VT_BOOL ") + (v.boolVal == VARIANT_TRUE ? "true" : "false");
        case VT_I2: return "VT_I2 " + std::to_string(v.iVal);
        case VT_I4: return "VT_I4 " + std::to_string(v.lVal);
        case VT_BSTR: return "VT_BSTR " + std::to_string(SysStringLen(v.bstrVal));
        default: return "VT " + std::to_string(v.vt);
    }
}

class Object final : public IDispatch {
public:
    explicit Object(Kind kind) : kind_(kind) { ++server.objects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
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
        while (wanted < 2 && member->args[wanted] != VT_EMPTY) ++wanted;
        if (params->cArgs != wanted) return DISP_E_BADPARAMCOUNT;
        // rgvarg holds the last argument first.
        auto arg = [&](UINT i) -> const VARIANT& { return params->rgvarg[wanted - 1 - i]; };
        for (UINT i = 0; i < wanted; ++i)
            if (arg(i).vt != member->args[i]) return DISP_E_TYPEMISMATCH;
        if (member->args[0] == VT_I2 && arg(0).iVal != 1) return DISP_E_BADINDEX;

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
        if (name == "Add") server.document = L"\r";
        if (name == "Text") {
            // Paragraph 1's range of a new document is its only, empty paragraph: the text
            // takes its place before the document's last paragraph mark, which stays.
            server.document = std::wstring(arg(0).bstrVal, SysStringLen(arg(0).bstrVal)) + L"\r";
            server.writeDocument();
        }
        if (saving) {
            std::ofstream file(std::filesystem::path(fileName), std::ios::binary | std::ios::trunc);
            file << "format " << arg(1).lVal << "\nname " << utf8(fileName) << "\n" << server.paragraphs();
            if (!file.flush()) return E_ACCESSDENIED;
        }
        if (member->returnsObject && result) {
            VariantInit(result);
            if (server.failsHere("empty", name)) return S_OK;
            result->vt = VT_DISPATCH;
            result->pdispVal = new Object(member->returns);
        }
        return S_OK;
    }

private:
    Kind kind_;
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
