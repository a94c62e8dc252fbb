// The File class: the object a template script creates as "Velda.File" to
// read the binary file (its standard input) and write the annotated text
// (its standard output). It attaches to the editor's session block when it is
// created; every member converts its BSTR/VARIANT/SAFEARRAY arguments and
// results and leaves the work to FileCore.
#pragma once

#include <windows.h>

#include <memory>

#include "Velda_h.h"
#include "library/com/FileSession.h"
#include "library/com/UniqueBstr.h"
#include "library/core/FileCore.h"

class CTavFile final : public ITavFile {
public:
    // Creates an object attached to the session and hands out the requested
    // interface. Without the editor's session the process ends here (see
    // FileSession::EndNotStartedFromEditor).
    static HRESULT Create(REFIID iid, void** object);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, served from the type library
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // ITavFile: properties
    STDMETHODIMP get_Endian(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_Endian(VARIANT_BOOL newVal) override;
    STDMETHODIMP get_Version(double* pVal) override;
    STDMETHODIMP put_Version(double newVal) override;
    STDMETHODIMP get_FileName(BSTR* pVal) override;
    STDMETHODIMP put_FileName(BSTR newVal) override;
    STDMETHODIMP get_TemplateName(BSTR* pVal) override;
    STDMETHODIMP put_TemplateName(BSTR newVal) override;
    STDMETHODIMP get_TemplateExtend(BSTR* pVal) override;
    STDMETHODIMP put_TemplateExtend(BSTR newVal) override;
    STDMETHODIMP get_EditorName(BSTR* pVal) override;
    STDMETHODIMP put_EditorName(BSTR newVal) override;
    STDMETHODIMP get_Comment(BSTR* pVal) override;
    STDMETHODIMP put_Comment(BSTR newVal) override;
    STDMETHODIMP get_HelpURI(BSTR* pbProperty) override;
    STDMETHODIMP put_HelpURI(BSTR newVal) override;
    STDMETHODIMP get_Indent(LONG* pVal) override;
    STDMETHODIMP put_Indent(LONG newVal) override;
    STDMETHODIMP get_Reversible(VARIANT_BOOL* pVal) override;
    STDMETHODIMP put_Reversible(VARIANT_BOOL newVal) override;

    // Declaration
    STDMETHODIMP Regist() override;
    STDMETHODIMP GetExtendNo(LONG* plExtendNo) override;

    // Reading
    STDMETHODIMP GetByte(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP GetWord(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP GetDWord(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP GetQWord(LONG lOffset, VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP GetString(LONG lSize, LONG lOffset, BSTR* pString) override;
    STDMETHODIMP GetByteOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) override;
    STDMETHODIMP GetWordOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) override;
    STDMETHODIMP GetDWordOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) override;
    STDMETHODIMP GetQWordOf(VARIANT* pvVal1, VARIANT* pvVal2, VARIANT* pvVal3, VARIANT* pvVal4, VARIANT* pvVal5) override;
    STDMETHODIMP GetBytes(LONG lSize, VARIANT* pvSafeArray) override;
    STDMETHODIMP GetWords(LONG lSize, VARIANT* pvSafeArray) override;
    STDMETHODIMP GetDWords(LONG lSize, VARIANT* pvSafeArray) override;
    STDMETHODIMP GetQWords(LONG lSize, VARIANT* pvSafeArray) override;
    STDMETHODIMP GetFormat(BSTR sMessage, VARIANT* pvSafeArray) override;

    // Output
    STDMETHODIMP PutByte(VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP PutWord(VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP PutDWord(VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP PutQWord(VARIANT_BOOL bSigned, VARIANT* pvValue) override;
    STDMETHODIMP PutString(LONG lSize) override;
    STDMETHODIMP PutBytes(LONG lSize) override;
    STDMETHODIMP PutWords(LONG lSize) override;
    STDMETHODIMP PutDWords(LONG lSize) override;
    STDMETHODIMP PutQWords(LONG lSize) override;
    STDMETHODIMP PutAll() override;
    STDMETHODIMP PutFormat(BSTR sMessage) override;

    // Searching and navigation
    STDMETHODIMP FindByte(short sValue, LONG* plOffset) override;
    STDMETHODIMP FindWord(LONG lValue, LONG* plOffset) override;
    STDMETHODIMP FindDWord(VARIANT vValue, LONG* plOffset) override;
    STDMETHODIMP FindQWord(VARIANT vValue, LONG* plOffset) override;
    STDMETHODIMP Eof(VARIANT_BOOL* pulValue) override;
    STDMETHODIMP GetOffset(VARIANT* pvOffset) override;
    STDMETHODIMP Seek(VARIANT vOffset, LONG lMode) override;
    STDMETHODIMP Length(VARIANT* pvSize) override;
    STDMETHODIMP CalcCrc32(VARIANT vOffset, VARIANT vSize, VARIANT vInit, LONG lMode, VARIANT* pvCrc32) override;

    // Diagnostics
    STDMETHODIMP Abort(BSTR sMessage) override;
    STDMETHODIMP Assert(LONG bExp, VARIANT sMessage) override;
    STDMETHODIMP Print(BSTR sMessage) override;
    STDMETHODIMP PrintIndex(BSTR sMessage) override;
    STDMETHODIMP Message(BSTR sMessage) override;

private:
    CTavFile();
    ~CTavFile();
    HRESULT Attach();

    HRESULT GetUnit(unsigned width, LONG distance, VARIANT_BOOL isSigned, VARIANT* result);
    HRESULT GetUnitsOf(unsigned width, VARIANT* (&targets)[5]);
    HRESULT GetUnits(unsigned width, LONG count, VARIANT* result);
    HRESULT PutUnit(unsigned width, VARIANT_BOOL isSigned, VARIANT* result);

    volatile LONG references_ = 1;
    ITypeInfo* typeInfo_ = nullptr;
    FileSession session_;
    std::unique_ptr<velda::FileCore> core_;
    // What the script last assigned, returned as assigned; the block gets
    // the ANSI text cut to its field.
    UniqueBstr fileName_, templateName_, templateExtend_, editorName_, comment_, helpUri_;
};
