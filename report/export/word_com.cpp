// The automation sequence on "word.application": create it on the local machine, make it
// visible, add a document, and put the report into the range of the document's first
// paragraph. Every reference is released at the end, by a fault too; Word stays open with the
// new, unsaved document.

#ifdef _WIN32

#include "report/export/word_com.h"

#include <oleauto.h>
#include <windows.h>

#include <string>

#include "report/export/export_fault.h"

namespace wallcalc {
namespace {

// Owns one interface pointer; releases it when it goes.
class Ref {
public:
    Ref() = default;
    explicit Ref(IDispatch* p) : p_(p) {}
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() {
        if (p_) p_->Release();
    }
    IDispatch* get() const { return p_; }
    IDispatch** out() { return &p_; }

private:
    IDispatch* p_ = nullptr;
};

// Owns one VARIANT.
struct Variant {
    VARIANT v;
    Variant() { VariantInit(&v); }
    ~Variant() { VariantClear(&v); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string narrow(const wchar_t* wide) {
    if (!wide || !*wide) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

std::string hresultText(HRESULT hr, const EXCEPINFO* info) {
    if (info && info->bstrDescription) return narrow(info->bstrDescription);
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = narrow(message);
    LocalFree(message);
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
    return text.empty() ? code : text + " (" + code + ")";
}

// Calls member `name` of `object` by name: a method or property get (DISPATCH_METHOD |
// DISPATCH_PROPERTYGET) or a property put. Throws the automation fault when it fails.
void invoke(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT argCount, VARIANT* result) {
    const std::string member = narrow(name);
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw export_fault::automation("文字处理软件不支持 " + member + "：" + hresultText(hr, nullptr));
    DISPPARAMS params{args, nullptr, argCount, 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    EXCEPINFO info{};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &info, nullptr);
    const std::string text = hresultText(hr, &info);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (FAILED(hr)) throw export_fault::automation("文字处理软件拒绝了 " + member + "：" + text);
}

// A member call that returns an object.
void getObject(IDispatch* object, const wchar_t* name, VARIANT* args, UINT argCount, Ref& into) {
    Variant result;
    invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, argCount, &result.v);
    if (result.v.vt != VT_DISPATCH || !result.v.pdispVal)
        throw export_fault::automation("文字处理软件的 " + narrow(name) + " 没有返回对象");
    *into.out() = result.v.pdispVal;
    result.v.pdispVal->AddRef();
}

// COM for the calling thread, for the length of one export.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

}  // namespace

void WordExporter::exportReport(const std::string& reportUtf8) {
    ComScope com;
    if (FAILED(com.result()) && com.result() != RPC_E_CHANGED_MODE)
        throw export_fault::cannotCreate("无法初始化 COM：" + hresultText(com.result(), nullptr));

    // 1: the application object, created on the local machine.
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"word.application", &clsid);
    if (FAILED(hr))
        throw export_fault::cannotCreate("无法启动文字处理软件：没有注册 word.application（" +
                                         hresultText(hr, nullptr) + "）");
    Ref application;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(application.out()));
    if (FAILED(hr)) throw export_fault::cannotCreate("无法启动文字处理软件：" + hresultText(hr, nullptr));

    // 2: Visible = true.
    Variant visible;
    visible.v.vt = VT_BOOL;
    visible.v.boolVal = VARIANT_TRUE;
    invoke(application.get(), L"Visible", DISPATCH_PROPERTYPUT, &visible.v, 1, nullptr);

    // 3, 4: Documents, Add; the collection goes once the document is there.
    Ref document;
    {
        Ref documents;
        getObject(application.get(), L"Documents", nullptr, 0, documents);
        getObject(documents.get(), L"Add", nullptr, 0, document);
    }

    // 6, 7, 8: Paragraphs(1) with a 16-bit integer, its Range, Text = the report.
    Ref paragraph, range;
    Variant one;
    one.v.vt = VT_I2;
    one.v.iVal = 1;
    getObject(document.get(), L"Paragraphs", &one.v, 1, paragraph);
    getObject(paragraph.get(), L"Range", nullptr, 0, range);
    Variant text;
    const std::wstring wide = widen(reportUtf8);
    text.v.vt = VT_BSTR;
    text.v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    invoke(range.get(), L"Text", DISPATCH_PROPERTYPUT, &text.v, 1, nullptr);
    // 9: the references go with their owners; Word keeps the document.
}

}  // namespace wallcalc

#endif  // _WIN32
