// The automation sequence on "word.application": create it on the local machine, make it
// visible, add a document, and put the report into the range of the document's first
// paragraph, each line of the report one paragraph. Every reference is released at the end, by
// a fault too; Word stays open with the new, unsaved document.
//
// The calls run on a worker thread in an apartment of its own, so that a Word that never
// answers costs the worker and not the caller: the caller waits for the worker up to the
// deadline and then ends with a fault, telling the worker to make no further call once the
// one it hangs in returns.

#ifdef _WIN32

// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

#include "report/export/word_com.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include "report/export/export_fault.h"
#include "report/export/paragraphs.h"

namespace wallcalc {
namespace {

// Owns one interface pointer; releases it when it goes.
class Ref {
public:
    Ref() = default;
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

// The system's text for `hr`, without the line end it comes with, and the code itself.
std::string systemText(HRESULT hr) {
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = narrow(message);
    LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
    return text.empty() ? code : text + " (" + code + ")";
}

// What an Invoke that failed says: the word processor's own description of its exception
// where it gives one, else the system's text of its error code.
std::string invokeFaultText(HRESULT hr, EXCEPINFO& info) {
    if (hr == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    if (info.bstrDescription && *info.bstrDescription) return narrow(info.bstrDescription);
    if (hr == DISP_E_EXCEPTION && info.scode) return systemText(info.scode);
    return systemText(hr);
}

// What the caller and the worker share: the worker's outcome, and whether the caller gave up.
struct Outcome {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool connected = false;
    bool abandoned = false;
    std::optional<Fault> fault;
};

// Thrown on the worker when the caller has given up: the sequence stops without a fault.
struct Abandoned {};

class Session {
public:
    explicit Session(Outcome& outcome) : outcome_(outcome) {}

    void connected() {
        std::lock_guard lock(outcome_.mutex);
        outcome_.connected = true;
    }

    // Calls member `name` of `object` by name: a method or property get (DISPATCH_METHOD |
    // DISPATCH_PROPERTYGET) or a property put. Throws the automation fault when it fails.
    void invoke(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT argCount, VARIANT* result) {
        {
            std::lock_guard lock(outcome_.mutex);
            if (outcome_.abandoned) throw Abandoned{};
        }
        const std::string member = narrow(name);
        DISPID id = 0;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) throw export_fault::automation("文字处理软件不支持 " + member + "：" + systemText(hr));
        DISPPARAMS params{args, nullptr, argCount, 0};
        DISPID named = DISPID_PROPERTYPUT;
        if (kind == DISPATCH_PROPERTYPUT) {
            params.rgdispidNamedArgs = &named;
            params.cNamedArgs = 1;
        }
        EXCEPINFO info{};
        hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, &info, nullptr);
        const std::string text = FAILED(hr) ? invokeFaultText(hr, info) : std::string();
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

private:
    Outcome& outcome_;
};

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

void runSequence(const std::string& reportUtf8, Session& session) {
    ComScope com;
    if (FAILED(com.result())) throw export_fault::cannotCreate("无法初始化 COM：" + systemText(com.result()));

    // 1: the application object, created on the local machine.
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"word.application", &clsid);
    if (FAILED(hr))
        throw export_fault::cannotCreate("无法启动文字处理软件：没有注册 word.application（" + systemText(hr) + "）");
    Ref application;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(application.out()));
    if (FAILED(hr)) throw export_fault::cannotCreate("无法启动文字处理软件：" + systemText(hr));
    session.connected();

    // 2: Visible = true.
    Variant visible;
    visible.v.vt = VT_BOOL;
    visible.v.boolVal = VARIANT_TRUE;
    session.invoke(application.get(), L"Visible", DISPATCH_PROPERTYPUT, &visible.v, 1, nullptr);

    // 3, 4: Documents, Add; the collection goes once the document is there.
    Ref document;
    {
        Ref documents;
        session.getObject(application.get(), L"Documents", nullptr, 0, documents);
        session.getObject(documents.get(), L"Add", nullptr, 0, document);
    }

    // 6, 7, 8: Paragraphs(1) with a 16-bit integer, its Range, Text = the report with one
    // paragraph mark (CR) between lines: Word keeps the document's own last mark after the text,
    // so that the report's last CR LF would otherwise leave an empty paragraph more.
    {
        Ref paragraph, range;
        Variant one;
        one.v.vt = VT_I2;
        one.v.iVal = 1;
        session.getObject(document.get(), L"Paragraphs", &one.v, 1, paragraph);
        session.getObject(paragraph.get(), L"Range", nullptr, 0, range);
        Variant text;
        const std::wstring wide = widen(toParagraphText(reportUtf8));
        text.v.vt = VT_BSTR;
        text.v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!text.v.bstrVal) throw export_fault::automation("内存不足，无法把计算书交给文字处理软件");
        session.invoke(range.get(), L"Text", DISPATCH_PROPERTYPUT, &text.v, 1, nullptr);
    }
    // 9: the document and the application go with their owners; Word keeps the document.
}

std::string secondsText(std::chrono::milliseconds deadline) {
    const long long ms = deadline.count();
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + "秒";
    std::ostringstream text;
    text << static_cast<double>(ms) / 1000.0 << "秒";
    return text.str();
}

}  // namespace

void WordExporter::exportReport(const std::string& reportUtf8) {
    auto outcome = std::make_shared<Outcome>();
    try {
        std::thread([outcome, reportUtf8] {
            std::optional<Fault> fault;
            try {
                Session session(*outcome);
                runSequence(reportUtf8, session);
            } catch (const FaultError& error) {
                fault = error.fault();
            } catch (const Abandoned&) {
            } catch (const std::exception& error) {
                fault = export_fault::automation(std::string("文字处理软件的调用失败：") + error.what()).fault();
            }
            std::lock_guard lock(outcome->mutex);
            outcome->fault = std::move(fault);
            outcome->done = true;
            outcome->finished.notify_all();
        }).detach();
    } catch (const std::system_error& error) {
        throw export_fault::cannotCreate(std::string("无法启动文字处理软件：") + error.what());
    }

    std::unique_lock lock(outcome->mutex);
    if (!outcome->finished.wait_for(lock, deadline_, [&] { return outcome->done; })) {
        outcome->abandoned = true;
        const std::string late = "文字处理软件在" + secondsText(deadline_) + "内没有响应";
        if (outcome->connected) throw export_fault::automation(late);
        throw export_fault::cannotCreate("无法连接文字处理软件：" + late);
    }
    if (outcome->fault) throw FaultError(*outcome->fault);
}

}  // namespace wallcalc

#endif  // _WIN32
