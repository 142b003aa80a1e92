#pragma once
// What the Word export and the Word saver share (Windows only): owning wrappers for interface
// pointers and VARIANTs, the late-bound call by name, starting Word, putting the report into a new
// document, and the caller's bounded wait for the worker thread that makes the calls.
//
// The calls run on a worker thread in an apartment of its own, so that a Word that never answers
// costs the worker and not the caller: the caller waits for the worker's outcome up to a deadline
// and then ends with a fault, telling the worker to make no further call of the sequence once the
// one it hangs in returns.

#ifdef _WIN32

// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "core/fault.h"
#include "office/export_fault.h"
#include "office/word_book.h"

namespace wallcalc::word {

// Owns one interface pointer; releases it when it goes.
class Ref {
public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = other.p_;
            other.p_ = nullptr;
        }
        return *this;
    }
    ~Ref() { reset(); }
    IDispatch* get() const { return p_; }
    IDispatch** out() { return &p_; }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

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

    // The value, the previous one cleared: a 32-bit integer; a text (the automation fault where
    // there is no memory for it, saying "无法把 `what` 交给文字处理软件"); an object, with a
    // reference of its own.
    void setLong(long value);
    void setText(const std::wstring& text, const char* what);
    void setObject(IDispatch* object);
};

std::wstring widen(const std::string& utf8);
std::string narrow(const wchar_t* wide);
// The system's text for `hr`, without the line end it comes with, and the code itself.
std::string systemText(HRESULT hr);

// Calls member `name` of `object` by name: a method, a property get or a property put (then
// with its one argument as the named DISPID_PROPERTYPUT). `args` in IDispatch's order, the last
// argument first. Throws the automation fault (440) when it fails.
void invokeMember(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT argCount, VARIANT* result);
// The same in two steps: the member's DISPID, and the call by it.
DISPID memberId(IDispatch* object, const wchar_t* name);
void invokeId(IDispatch* object, const wchar_t* name, DISPID id, WORD kind, VARIANT* args, UINT argCount,
              VARIANT* result);

// What the caller and the worker share: the worker's outcome, whether Word was reached, and
// whether the caller gave up.
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

// The worker's calls of one sequence; each first makes sure the caller still waits. A name
// given with its class, "Range.Text", calls member Text; its DISPID, asked of Word at its first
// call, is kept for every object of that class (an interface's members keep their DISPIDs), which
// halves the round trips of a book's thousands of calls.
class Session {
public:
    explicit Session(Outcome& outcome) : outcome_(outcome) {}

    void connected();
    void invoke(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT argCount, VARIANT* result);
    // A member call that returns an object.
    void getObject(IDispatch* object, const wchar_t* name, VARIANT* args, UINT argCount, Ref& into);
    // A property put of a boolean, a 32-bit integer, a single-precision number or a text.
    void putBool(IDispatch* object, const wchar_t* name, bool value);
    void putLong(IDispatch* object, const wchar_t* name, long value);
    void putSingle(IDispatch* object, const wchar_t* name, float value);
    void putText(IDispatch* object, const wchar_t* name, const std::wstring& value);
    // A property get of a 32-bit integer.
    long getLong(IDispatch* object, const wchar_t* name);

private:
    Outcome& outcome_;
    std::map<std::wstring, DISPID> ids_;
};

// COM for the calling thread, single-threaded apartment, for as long as the scope lasts.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

// "word.application" created on the local machine; faults 429 when it cannot be.
Ref startWord(const ComScope& com, Session& session);

// Documents.Add, and the report put into the range of the new document's first paragraph, each
// line of the report one paragraph. The document is in `document` as soon as Word made it.
void addReportDocument(Session& session, IDispatch* application, const std::string& reportUtf8, Ref& document);

// Documents.Add, and the book built in the new document (word_book.h): the styles' fonts, the
// page header and footer, then block after block at the document's end. Each figure's SVG is a
// file in the temporary folder for as long as Word takes to read it.
void addBookDocument(Session& session, IDispatch* application, const Book& book, Ref& document);

// Runs `sequence`, turning what it throws into the fault the caller is to see (none when the
// caller gave up).
template <class Sequence>
std::optional<Fault> faultOf(Sequence&& sequence) {
    try {
        sequence();
    } catch (const FaultError& error) {
        return error.fault();
    } catch (const Abandoned&) {
    } catch (const std::exception& error) {
        return export_fault::automation(std::string("文字处理软件的调用失败：") + error.what()).fault();
    }
    return std::nullopt;
}

// Waits, holding `lock` on `outcome.mutex`, until the worker is done, and gives its fault if it
// has one. Past `deadline` the worker is abandoned and the late answer thrown: 429 when Word had
// not been reached, 440 when it had.
std::optional<Fault> awaitOutcome(Outcome& outcome, std::unique_lock<std::mutex>& lock,
                                  std::chrono::milliseconds deadline);

}  // namespace wallcalc::word

#endif  // _WIN32
