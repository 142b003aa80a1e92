// The pieces of Word automation that the export and the saver share; see word_automation.h.

#ifdef _WIN32

#include "office/word_automation.h"

#include <cstdio>
#include <cwchar>

#include "office/office_settings.h"
#include "office/paragraphs.h"

namespace wallcalc::word {

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

std::string systemText(HRESULT hr) {
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = narrow(message);
    LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    // snprintf, not wsprintfA: user32's formatter would load user32 at every start of the program.
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return text.empty() ? code : text + " (" + code + ")";
}

namespace {

// What an Invoke that failed says: the word processor's own description of its exception
// where it gives one, else the system's text of its error code.
std::string invokeFaultText(HRESULT hr, EXCEPINFO& info) {
    if (hr == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    if (info.bstrDescription && *info.bstrDescription) return narrow(info.bstrDescription);
    if (hr == DISP_E_EXCEPTION && info.scode) return systemText(info.scode);
    return systemText(hr);
}

// The member a name calls, without its class.
std::string memberText(const wchar_t* name) {
    const wchar_t* dot = std::wcschr(name, L'.');
    return narrow(dot ? dot + 1 : name);
}

}  // namespace

DISPID memberId(IDispatch* object, const wchar_t* name) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) throw export_fault::automation("文字处理软件不支持 " + narrow(name) + "：" + systemText(hr));
    return id;
}

void invokeMember(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT argCount, VARIANT* result) {
    invokeId(object, name, memberId(object, name), kind, args, argCount, result);
}

void invokeId(IDispatch* object, const wchar_t* name, DISPID id, WORD kind, VARIANT* args, UINT argCount,
              VARIANT* result) {
    const std::string member = narrow(name);
    DISPPARAMS params{args, nullptr, argCount, 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    EXCEPINFO info{};
    HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &info, nullptr);
    const std::string text = FAILED(hr) ? invokeFaultText(hr, info) : std::string();
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    if (FAILED(hr)) throw export_fault::automation("文字处理软件拒绝了 " + member + "：" + text);
}

void Session::connected() {
    std::lock_guard lock(outcome_.mutex);
    outcome_.connected = true;
}

void Session::invoke(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT argCount, VARIANT* result) {
    {
        std::lock_guard lock(outcome_.mutex);
        if (outcome_.abandoned) throw Abandoned{};
    }
    const wchar_t* dot = std::wcschr(name, L'.');
    if (!dot) return invokeMember(object, name, kind, args, argCount, result);
    const wchar_t* member = dot + 1;
    auto known = ids_.find(name);
    if (known == ids_.end()) known = ids_.emplace(name, memberId(object, member)).first;
    invokeId(object, member, known->second, kind, args, argCount, result);
}

void Session::getObject(IDispatch* object, const wchar_t* name, VARIANT* args, UINT argCount, Ref& into) {
    Variant result;
    invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, argCount, &result.v);
    if (result.v.vt != VT_DISPATCH || !result.v.pdispVal)
        throw export_fault::automation("文字处理软件的 " + memberText(name) + " 没有返回对象");
    into.reset();
    *into.out() = result.v.pdispVal;
    result.v.pdispVal->AddRef();
}

void Variant::setLong(long value) {
    VariantClear(&v);
    v.vt = VT_I4;
    v.lVal = value;
}

void Variant::setText(const std::wstring& text, const char* what) {
    VariantClear(&v);
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!v.bstrVal) throw export_fault::automation(std::string("内存不足，无法把") + what + "交给文字处理软件");
    v.vt = VT_BSTR;
}

void Variant::setObject(IDispatch* object) {
    VariantClear(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    object->AddRef();
}

void Session::putBool(IDispatch* object, const wchar_t* name, bool value) {
    Variant argument;
    argument.v.vt = VT_BOOL;
    argument.v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    invoke(object, name, DISPATCH_PROPERTYPUT, &argument.v, 1, nullptr);
}

void Session::putLong(IDispatch* object, const wchar_t* name, long value) {
    Variant argument;
    argument.setLong(value);
    invoke(object, name, DISPATCH_PROPERTYPUT, &argument.v, 1, nullptr);
}

void Session::putSingle(IDispatch* object, const wchar_t* name, float value) {
    Variant argument;
    argument.v.vt = VT_R4;
    argument.v.fltVal = value;
    invoke(object, name, DISPATCH_PROPERTYPUT, &argument.v, 1, nullptr);
}

void Session::putText(IDispatch* object, const wchar_t* name, const std::wstring& value) {
    Variant argument;
    argument.setText(value, "计算书");
    invoke(object, name, DISPATCH_PROPERTYPUT, &argument.v, 1, nullptr);
}

long Session::getLong(IDispatch* object, const wchar_t* name) {
    Variant result;
    invoke(object, name, DISPATCH_PROPERTYGET, nullptr, 0, &result.v);
    if (FAILED(VariantChangeType(&result.v, &result.v, 0, VT_I4)))
        throw export_fault::automation("文字处理软件的 " + memberText(name) + " 没有返回数值");
    return result.v.lVal;
}

Ref startWord(const ComScope& com, Session& session) {
    if (FAILED(com.result())) throw export_fault::cannotCreate("无法初始化 COM：" + systemText(com.result()));
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"word.application", &clsid);
    if (FAILED(hr))
        throw export_fault::cannotCreate("无法启动文字处理软件：没有注册 word.application（" + systemText(hr) + "）");
    Ref application;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(application.out()));
    if (FAILED(hr)) throw export_fault::cannotCreate("无法启动文字处理软件：" + systemText(hr));
    session.connected();
    return application;
}

void addReportDocument(Session& session, IDispatch* application, const std::string& reportUtf8, Ref& document) {
    // Documents, Add; the collection goes once the document is there.
    {
        Ref documents;
        session.getObject(application, L"Documents", nullptr, 0, documents);
        session.getObject(documents.get(), L"Add", nullptr, 0, document);
    }

    // Paragraphs(1) with a 16-bit integer, its Range, Text = the report with one paragraph mark
    // (CR) between lines: Word keeps the document's own last mark after the text, so that the
    // report's last CR LF would otherwise leave an empty paragraph more.
    Ref paragraph, range;
    Variant one;
    one.v.vt = VT_I2;
    one.v.iVal = 1;
    session.getObject(document.get(), L"Paragraphs", &one.v, 1, paragraph);
    session.getObject(paragraph.get(), L"Range", nullptr, 0, range);
    Variant text;
    text.setText(widen(toParagraphText(reportUtf8)), "计算书");
    session.invoke(range.get(), L"Text", DISPATCH_PROPERTYPUT, &text.v, 1, nullptr);
}

std::optional<Fault> awaitOutcome(Outcome& outcome, std::unique_lock<std::mutex>& lock,
                                  std::chrono::milliseconds deadline) {
    if (!outcome.finished.wait_for(lock, deadline, [&] { return outcome.done; })) {
        outcome.abandoned = true;
        const std::string late = "文字处理软件在" + deadlineText(deadline) + "内没有响应";
        if (outcome.connected) throw export_fault::automation(late);
        throw export_fault::cannotCreate("无法连接文字处理软件：" + late);
    }
    return outcome.fault;
}

}  // namespace wallcalc::word

#endif  // _WIN32
