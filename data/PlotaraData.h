// The public chart data object: a host builds a chart XML document through it, item by item or
// in bulk, and the chart control reads the document with getXML.
#pragma once

#include "core/Diagnostics.h"
#include "core/Dispatch.h"
#include "core/String.h"
#include "core/Variant.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace plotara {

class ArrayClass;
class MessageSink;
class Recordset;

class PlotaraData : public Dispatch, public DiagnosticsSource {
public:
    PlotaraData();
    ~PlotaraData() override;
    PlotaraData(const PlotaraData&) = delete;
    PlotaraData& operator=(const PlotaraData&) = delete;

    // --- _PlotaraData ------------------------------------------------------------------------
    // Unless stated otherwise a member raises what the engine raises: Error 6 "Overflow" when a
    // 16-bit counter would pass 32767, and a component error when it is called from an event
    // handler while getXML is writing this object's document.

    // One chart attribute, stored as given (neither trimmed nor escaped).
    void setChartParam(const String& paramName, const String& paramValue);
    // Chart attributes from a parameter string ("caption=Sales;numberPrefix=$").
    void setChartParams(const String& strParams);
    // Attributes of the categories element.
    void setCategoriesParams(const String& catParams);
    // The chart XML document; "" while the control has not set a valid chart type. Errors of the
    // trend-line and style sections reach the caller; a failed body becomes the document text.
    String getXML();
    // The delimiter of parameter strings and colour lists from now on; "" is accepted.
    void setParamDelimiter(const String& strDelm);
    void addCategory(const String& label, const String& catParams = L"",
                     const String& vlineParams = L"");
    // Does nothing at all for the grid chart (type 37).
    void addDataset(const String& seriesName, const String& datasetParams = L"");
    void addChartData(const String& value, const String& params = L"",
                      const String& vlineParams = L"");
    void applyStyle(const String& toObject, const String& styles);
    void defineStyle(const String& styleName, const String& styleType, const String& styleParams);
    void addVLine(const String& strParam);
    void addTrendLine(const String& tlineParams);
    // Never raises: every statement that fails is skipped, and isDataAdded ends True.
    void addChartDataFromArray(const Variant& dataArray,
                               const Variant& dataCatArray = Variant::missing());
    // Error 13 for a value that is not an array, Error 9 for an array of another shape; the
    // categories added before the failure stay.
    void addCategoryFromArray(const Variant& categoryArray);
    // One data point per row of the value column, labelled from the category column when given.
    // Never raises once it started: a missing column or database error ends the import quietly,
    // keeping the rows read so far.
    void addDataFromDatabase(Recordset& query_result, const String& db_field_ChartData,
                             const String& db_field_CategoryNames = L"",
                             const String& strParam = L"");
    void addMSLineset(const String& seriesName, const String& linesetParams = L"");
    void addVTrendLine(const String& vtlineParams);
    void createMSStDataset();
    void addMSStSubDataset(const String& seriesName, const String& datasetParams = L"");
    void addMSLinesetData(const String& value, const String& params = L"");
    // One category per row ("Label;X" column names on an XY chart). Never raises once it started:
    // a failure goes to the message sink as "<categoryColumn>: <description>" and ends the import.
    void addCategoryFromDatabase(Recordset& query_result, const String& categoryColumn);
    // Datasets per group of rows (one control field) or per value column (several). Errors reach
    // the caller (missing column, database errors, Error 9 for a short bracket list) and what
    // was recorded before them stays.
    void addDatasetsFromDatabase(Recordset& query_result, const String& ctrlField,
                                 const String& setField,
                                 const Variant& datasetParamArray = Variant(L""));
    // Stored verbatim for the grid chart's movie URL; nothing reaches the document. Cannot fail.
    void setGridParams(const String& gridParams);
    // A user colour list split on the parameter delimiter; "" switches user colours off. Cannot
    // fail.
    void addColors(const String& colorList);
    // Back to the built-in colours (no colour attributes written). Cannot fail.
    void clearUserColor();

    // --- component-internal members (used by the control) ----------------------------------
    bool get_isExternalXML() const;
    void put_isExternalXML(bool value);
    // The external document converted to wide text. Cannot fail beyond running out of memory.
    String get_externalXML() const;
    // Keeps the external document as UTF-8 (characters outside Unicode become U+FFFD). Cannot
    // fail beyond running out of memory.
    void put_externalXML(const String& value);
    // The external document as shared UTF-8 text, nullptr when none was given: read without a
    // copy. Cannot fail.
    std::shared_ptr<const std::string> externalXMLText() const;
    // Keeps the external document as given, shared with the caller and never changed here; the
    // text must be valid UTF-8.
    void put_externalXMLText(std::shared_ptr<const std::string> utf8) noexcept;
    // The document getXML returns, without copying it: valid until the next change to this
    // object. Fails as getXML does.
    StringView documentView();
    // The generated document as UTF-8, built unless it is built, for a caller that hands it on:
    // the data object keeps it in that form (no wide copy made) until it is read again or
    // replaced, never changing it while shared; ends the validity of documentView's text.
    // nullptr for a ready text (setDataXML) and for a document with a character UTF-8 cannot
    // carry (documentView gives those). Fails as getXML does.
    std::shared_ptr<const std::string> packDocument();
    // addChartData(x, "Y=<y>") (with ";Z=<z>" when z is given) from UTF-8 texts, recording exactly
    // what that call records: the command line hands the number cells of a table to an XY chart
    // this way, without a wide copy of each point. Fails as addChartData.
    void addXYPointText(std::string_view x, std::string_view y,
                        std::optional<std::string_view> z = std::nullopt);
    bool get_isDataAdded() const { return isDataAdded_; }
    void put_isDataAdded(bool value) { isDataAdded_ = value; }
    // Converts the text to a 16-bit chart type for this object and its engine; text that is not
    // such a number changes nothing and raises nothing.
    void setChartTypeNumber(const String& chartType);
    String getGridParams() const { return gridParams_; }
    // Clears isDataAdded and discards all collected content and the external document.
    void resetData();
    // The object's own value separator (";"), which setParamDelimiter does not change: it only
    // splits XY cells in addChartDataFromArray, and nothing sets it. Cannot fail.
    String getDelimiter() const { return separator_; }
    void refreshChartKind();

    // --- host integration ------------------------------------------------------------------
    // Called once per data point or row while documents are written and rows imported, so a host
    // can process pending window events; the default does nothing. A handler must not record
    // into this object meanwhile (such calls are refused with an error).
    void setYieldHandler(std::function<void()> handler);
    // Where addCategoryFromDatabase reports a failure (the host's message box); nullptr restores
    // the default, which writes the text to standard error. Cannot fail.
    void setMessageSink(std::shared_ptr<MessageSink> sink);
    // Receives a record whenever a call was coerced, ignored or failed silently: a parameter
    // piece without "=" dropped, a value that is not a number, an import that stopped, a
    // document that is an error text. Nothing else changes; an empty handler stops the reports.
    // Cannot fail; an exception of the handler reaches the caller of the reporting member.
    void setDiagnostics(DiagnosticsHandler handler) override;

    // The engine, for the data layer's own tests and tools.
    ArrayClass& engine() noexcept { return *engine_; }

    // --- Dispatch ----------------------------------------------------------------------------
    // Error 438 for an unknown name (names match case-insensitively).
    Long idOfName(const String& name) const override;
    // Error 438 for an unknown id, 449 for a missing required argument, 450 for too many.
    Variant invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) override;

private:
    // Reports the pieces of a parameter text that are dropped (no "=" or no name). Cannot fail.
    void checkParams(const wchar_t* member, StringView params) const;
    // Reports a value text that is neither blank nor a number. Cannot fail.
    void checkValue(const wchar_t* member, StringView value) const;

    std::unique_ptr<ArrayClass> engine_;
    // Fixed: the parameter delimiter is the engine's (setParamDelimiter), not this.
    String separator_ = L";";
    Integer chartType_ = 0;
    String gridParams_;
    bool isDataAdded_ = false;
};

} // namespace plotara
