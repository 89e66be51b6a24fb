// Schema queries through the spooler's bidi objects. Each query initialises COM for its own use, binds the
// spooler object to the printer, sends one request and gives everything back in reverse order.
#include "bidi.h"

#include "com_classes.h"
#include "com_ptr.h"
#include "wstr.h"

#include <bidispl.h>

#include <cstring>

namespace {

// One bound request: COM, the spooler object bound to the printer, and a request for one schema.
class BidiSession {
  public:
    BidiSession() : com_(COINIT_MULTITHREADED) {}
    ~BidiSession() {
        request_.Reset();
        if (bound_) {
            spooler_->UnbindDevice();
        }
        spooler_.Reset();
    }
    BidiSession(const BidiSession&) = delete;
    BidiSession& operator=(const BidiSession&) = delete;

    bool Send(LPCWSTR printerName, LPCWSTR schema, LPCWSTR action) {
        if (!com_.Usable() || FAILED(CoCreateInstance(kClsidBidiSpl, nullptr, CLSCTX_INPROC_SERVER,
                                                      kIidBidiSpl, spooler_.PutVoid()))) {
            return false;
        }
        if (FAILED(spooler_->BindDevice(printerName, BIDI_ACCESS_ADMINISTRATOR))) {
            return false;
        }
        bound_ = true;
        return SUCCEEDED(CoCreateInstance(kClsidBidiRequest, nullptr, CLSCTX_INPROC_SERVER, kIidBidiRequest,
                                          request_.PutVoid())) &&
               SUCCEEDED(request_->SetSchema(schema)) &&
               SUCCEEDED(spooler_->SendRecv(action, request_.get()));
    }
    IBidiRequest* request() const { return request_.get(); }

  private:
    ComScope com_; // first in, last out: COM outlives the objects
    ComPtr<IBidiSpl> spooler_;
    ComPtr<IBidiRequest> request_;
    bool bound_ = false;
};

// One result of a request; its schema and data are freed with it.
struct Output {
    TaskMem<WCHAR> schema;
    DWORD type = BIDI_NULL;
    TaskMem<BYTE> data;
    ULONG size = 0;

    bool Read(IBidiRequest* request, DWORD index) {
        return SUCCEEDED(request->GetOutputData(index, schema.Put(), &type, data.Put(), &size)) &&
               (data.get() || size == 0);
    }
};

// Text from a device answer: size / 2 characters at most, up to a zero if the answer has one.
size_t AnswerChars(const Output& out) {
    const WCHAR* text = reinterpret_cast<const WCHAR*>(out.data.get());
    return WStrLen(text, out.size / sizeof(WCHAR));
}

// Device answers may be empty, with no buffer at all.
void CopyAnswer(void* to, const void* from, size_t bytes) {
    if (bytes) {
        std::memcpy(to, from, bytes);
    }
}

} // namespace

DWORD BidiValueNumber(const BIDIVALUE& record) {
    DWORD value;
    std::memcpy(&value, record.Value, sizeof(value));
    return value;
}

DWORD EnumerateBidiSchema(LPCWSTR printerName, BIDIVALUE* records, DWORD capacity) {
    BidiSession session;
    DWORD total = 0;
    if (!session.Send(printerName, TEXT(""), BIDI_ACTION_ENUM_SCHEMA) ||
        FAILED(session.request()->GetEnumCount(&total))) {
        return 0;
    }
    const DWORD limit = records ? (total < capacity ? total : capacity) : 0;
    for (DWORD i = 0; i < limit; ++i) {
        Output out;
        if (!out.Read(session.request(), i)) {
            return i;
        }
        // A path the record cannot hold whole is not cut down to another path: the record stays empty and
        // names nothing, and the results after it keep their places.
        const size_t chars = AnswerChars(out);
        std::memset(records[i].Path, 0, sizeof(records[i].Path));
        if (chars < kBidiPathChars) {
            CopyAnswer(records[i].Path, out.data.get(), chars * sizeof(WCHAR));
        }
    }
    return total;
}

BOOL GetBidiValue(LPCWSTR printerName, BIDIVALUE* record) {
    if (!record) {
        return FALSE;
    }
    // The record's own path, bounded by its field whatever the caller left in it.
    WCHAR path[kBidiPathChars];
    WStrCopy(path, record->Path, kBidiPathChars - 1);
    BidiSession session;
    Output out;
    if (!session.Send(printerName, path, BIDI_ACTION_GET) || !out.Read(session.request(), 0)) {
        return FALSE;
    }
    record->Type = out.type;
    std::memset(record->Value, 0, sizeof(record->Value));
    switch (out.type) {
    case BIDI_INT:
    case BIDI_FLOAT:
    case BIDI_BOOL:
        // A number shorter than its four bytes is no number.
        if (out.size < sizeof(DWORD)) {
            return FALSE;
        }
        std::memcpy(record->Value, out.data.get(), sizeof(DWORD));
        return TRUE;
    case BIDI_STRING:
    case BIDI_TEXT: {
        // Longer text is cut to what the field holds and always terminated.
        size_t chars = AnswerChars(out);
        chars = chars < kBidiTextChars - 1 ? chars : kBidiTextChars - 1;
        CopyAnswer(record->Value, out.data.get(), chars * sizeof(WCHAR));
        return TRUE;
    }
    case BIDI_ENUM:
    case BIDI_BLOB:
        CopyAnswer(record->Value, out.data.get(), out.size < kBidiValueBytes ? out.size : kBidiValueBytes);
        return FALSE;
    default:
        return FALSE;
    }
}
