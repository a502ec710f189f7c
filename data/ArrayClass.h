// The chart data builder's engine: records chart content in a keyed store and writes it as one
// chart XML document. Internal to the data layer; hosts use PlotaraData.
//
// Every recording operation first applies the fresh-start rule: when a document was generated
// since the last change, or the control supplied a ready document, all recorded content is
// discarded before the new item is recorded. Counters are 16-bit; an increment past 32767 raises
// Error 6 "Overflow".
#pragma once

#include "core/ChartTypes.h"
#include "core/Diagnostics.h"
#include "core/String.h"
#include "core/Variant.h"
#include "data/PTColors.h"
#include "data/detail/DocumentText.h"
#include "data/detail/KeyedNode.h"
#include "data/detail/ParamParser.h"
#include "data/detail/XYPointTable.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plotara {

class MessageSink;
class Recordset;

class ArrayClass {
public:
    ArrayClass();
    ~ArrayClass();
    ArrayClass(const ArrayClass&) = delete;
    ArrayClass& operator=(const ArrayClass&) = delete;

    // --- keyed store -----------------------------------------------------------------------
    // The root node. Reading a missing key through it creates an empty node. XY points in their
    // common form are kept apart, in xyPoints(), until something needs them as nodes.
    KeyedNode& items() noexcept { return store_.root(); }
    const KeyedNode& items() const noexcept { return store_.root(); }
    // Keys of the root in map order.
    std::vector<String> getKeys() const { return items().keys(); }
    bool itemExists(StringView key) const noexcept { return items().exists(key); }
    std::size_t itemCount() const noexcept { return items().count(); }
    // The XY points kept compactly.
    const XYPointTable& xyPoints() const noexcept { return xyPoints_; }

    // --- parameter strings -----------------------------------------------------------------
    // Sets the delimiter and hands it to the palette; "" and long delimiters are accepted.
    void setDelimiter(const String& delimiter);
    const String& delimiter() const noexcept { return delimiter_; }
    // Parses with the current delimiter; see parseParams in ParamParser.h.
    std::vector<ParamPair> parseParams(StringView text, bool escape) const;

    // --- lifecycle -------------------------------------------------------------------------
    // Discards all recorded content, the cached document and the external document; keeps the
    // delimiter, palette, chart type and kind. Refused (component error) while a document is
    // being written.
    void resetData();
    // The fresh-start rule; refused while a document is being written.
    void freshStart();

    // The per-point yield to the host while documents are written and rows imported.
    void setYield(std::function<void()> yield) { yield_ = std::move(yield); }

    // --- chart type ------------------------------------------------------------------------
    // Converts the text as the run-time's CInt does (Error 13 or 6 on failure, nothing changed)
    // and derives the chart kind.
    void setChartTypeNumber(const String& chartType);
    // Derives the chart kind from the chart type; unknown types keep the previous kind.
    void refreshChartKind() noexcept;
    Integer chartType() const noexcept { return chartType_; }
    Integer chartKind() const noexcept { return static_cast<Integer>(chartKind_); }

    // --- palette ---------------------------------------------------------------------------
    PTColors& color() noexcept { return *color_; }
    // Loads a user colour list, split on the current delimiter.
    void addColors(const String& colorList);
    // Replaces the palette by a fresh one that keeps the current delimiter.
    void clearUserColors();

    // --- recording: parameters, categories, datasets, points, vertical lines ----------------
    // Errors: Error 6 when a 16-bit counter overflows; refused while a document is written.
    void setChartParam(const String& paramName, const String& value);
    void setChartParams(const String& params);
    void setCategoriesParams(const String& params);
    void addCategory(const String& label, const String& params = L"",
                     const String& vlineParams = L"");
    void addDataset(const String& seriesName, const String& params = L"");
    void addChartData(const String& value, const String& params = L"",
                      const String& vlineParams = L"");
    void addVLine(const String& strParam);
    // addChartData(x, "Y=<y>") (with ";Z=<z>" when z is given) from UTF-8 texts, recording
    // exactly what that call records: on an XY chart, with ";" as the delimiter, the number texts
    // of a table go into the compact points without a wide copy; any other point goes through
    // addChartData. Errors as addChartData.
    void addXYPointText(std::string_view x, std::string_view y,
                        std::optional<std::string_view> z = std::nullopt);

    // --- recording: styles and trend lines ---------------------------------------------------
    void defineStyle(const String& styleName, const String& styleType, const String& styleParams);
    void applyStyle(const String& toObject, const String& style);
    void addTrendLines(const String& strParam);
    void addVTrendLine(const String& strParam);

    // --- recording: stacked datasets and line sets (errors trapped: they end the call) ------
    void createMSStDataset();
    void addMSStSubDataset(const String& seriesName, const String& params = L"");
    void addMSLineset(const String& seriesName, const String& params = L"");
    void addMSLinesetData(const String& value, const String& params = L"",
                          const String& vlineParams = L"");

    // --- bulk imports from arrays (errors reach the caller; earlier items stay) -------------
    void addCategoryFromArray(const Variant& categoryArray);
    void addChartDataFromArray(const Variant& chartDataArray);
    // One series per row of a two-dimensional array: its name, its dataset parameters, then one
    // value per column (on XY charts x, y and z joined by xySeparator). Runs with errors ignored
    // statement by statement, so nothing reaches the caller; what was read before stays.
    void addSeriesRowsFromArray(const Variant& dataArray, StringView xySeparator);

    // --- bulk imports from database recordsets ------------------------------------------------
    // Rows are read through Recordset::field; a Null reads as "", other values as their text
    // trimmed of blanks. The host's yield runs once per row.

    // One data point per row from valueField; with categoryField not "" each point is labelled
    // "label=<category>;<params>". With categories recorded, stops after categoryCount rows.
    // Raises only what the fresh start raises: any later run-time error (missing column,
    // database error, counter overflow) ends the import silently and the rows read stay.
    void addChartDataFromDatabase(Recordset& rs, const String& valueField,
                                  const String& categoryField = L"", const String& params = L"");
    // One category per row from categoryColumn; on an XY chart categoryColumn is the label column
    // and the x column joined by the delimiter ("" as label column: no labels). Raises only what
    // the fresh start raises: a later run-time error is shown through the message sink as
    // "<categoryColumn>: <description>" and ends the import; the categories read stay.
    void addCategoryFromDatabase(Recordset& rs, const String& categoryColumn);
    // Datasets from rows: one control field makes one dataset per run of equal control values
    // (read from the current row on, no rewind); several control fields, each a value column,
    // make one dataset per column with categories from valueField. datasetParams is a text (a
    // parameter string, or a bracket list "[..][..]" in the column form), an array of parameter
    // strings used one per dataset, or missing. Does nothing on an XY chart. Errors reach the
    // caller and what was recorded before them stays: a missing column, database errors, and
    // Error 9 when a bracket list has fewer items than there are columns.
    void addDatasetsFromDatabase(Recordset& rs, const String& ctrlField, const String& valueField,
                                 const Variant& datasetParams = Variant(L""));
    // Where addCategoryFromDatabase reports; nullptr restores the default, which writes to
    // standard error.
    void setMessageSink(std::shared_ptr<MessageSink> sink);
    // The listener of silent failures (imports that stop, documents that are error texts,
    // operations that trap their errors).
    void setDiagnostics(DiagnosticsHandler handler) { diagnostics_.set(std::move(handler)); }
    const DiagnosticsChannel& diagnostics() const noexcept { return diagnostics_; }

    // --- document ----------------------------------------------------------------------------
    // The chart XML document: the external document when one is set, the cached document when
    // nothing changed since, "" while no valid chart type was set, otherwise a new document (or
    // the error text of a failed body writer). Errors of the style and trend-line writers reach
    // the caller. Refused while a document is being written.
    String getXML();
    // The same document without copying it: valid until the next change to this engine. Fails
    // as getXML does.
    StringView document();
    // Builds the document unless it is built, keeps it as UTF-8 (as it is written) until it is
    // read again, and gives back the compact XY points it was written from; returns that text,
    // which the caller may share (it is never changed while shared). Makes no wide copy. A
    // document with a character UTF-8 cannot carry stays as it is and nullptr comes back; so
    // does an external document (a generated one kept from before is let go of). Fails as
    // document() does.
    std::shared_ptr<const std::string> packDocument();

    bool isExternalXML() const noexcept { return isExternalXML_; }
    void setExternalXMLFlag(bool on) noexcept { isExternalXML_ = on; }
    // The external document as UTF-8, shared with whoever handed it over (nullptr when none).
    const std::shared_ptr<const std::string>& externalXML() const noexcept { return externalXML_; }
    // Keeps the external document without copying it.
    void setExternalXML(std::shared_ptr<const std::string> text) noexcept {
        externalXML_ = std::move(text);
        externalWide_ = String();
    }

    // The number of categories recorded.
    Integer categoryCount() const noexcept { return categoryCount_; }

    // The record's counters, read by the data layer's tests through ArrayClassTestAccess.
    struct Counters {
        Integer categoryCount, datasetCount, seriesIndex, pointIndex, dataPointCount;
        Integer trendlineCount, vTrendlineCount, styleDefineCount, styleApplyCount;
        Integer linesetCount, lastLineset, linesetPointIndex, datasetPointIndex;
        bool isLinesetMode, isXMLGenerated;
    };

private:
    // Builds the document into documentText_ unless it is built (a packed one is taken back);
    // false when the chart type gives no document. Fails as document() does.
    bool generateDocument();
    // Turns a document packDocument kept as UTF-8 back into the document's text; throws
    // std::bad_alloc when memory runs out, keeping the UTF-8 text.
    void unpackDocument();
    friend struct ArrayClassTestAccess;
    Counters counters() const noexcept;
    class WritingScope;

    void refuseWhileWriting() const;
    std::size_t estimatedLength() const noexcept;
    void yieldToHost();
    // Stores the parsed, escaped rows of params in node with trimmed names and values.
    void storeParams(KeyedNode& node, StringView params);
    // The keyed node of a series' points, with any compact points of the series moved into it
    // first; every reading or writing of a series through the store goes through here.
    KeyedNode& seriesNode(Integer series);
    // Keeps an XY point compactly when it has the common form and its series is still compact;
    // false when the point belongs in the store.
    bool storeCompactXYPoint(Integer series, const String& value, const String& params);
    void storePoint(Integer series, const String& value, const String& params);
    void countPointsFor(Integer& index);
    void addLinesetPoint(const String& value, const String& params, const String& vlineParams);
    void addXYPoint(const String& value, const String& params);
    // An XY point that is not kept compactly: a keyed node with its x and parameter entries.
    void storeKeyedXYPoint(Integer series, const String& value, const String& params);

    // Body writers; each appends to documentText_ or to the text it is given.
    void writeSingleSeriesSets();
    void writeCategorySets();
    void writeMultiSeries();
    void writeDatasetSets(DocumentText& text, Integer series);
    void writeVLines(Integer position, DocumentText& text);
    // When a category element carries its label attribute.
    enum class LabelRule { WhenTrimmedNotEmpty, WhenNotEmpty, Always };
    // The whole categories element: opening tag with its parameters, categories, vertical lines.
    void writeCategories(DocumentText& text, LabelRule rule);
    void writeStackedBody();
    void writeXYBody();
    void writeXYSets(DocumentText& text, Integer series);
    void writeLinesets();
    void writeLinesetSets(DocumentText& text, Integer lineset);
    // One row of a line-set or XY table: its cells and the point's further attributes in order.
    struct PointRow {
        StringView cells[3];
        std::vector<std::pair<StringView, StringView>> pairs;
    };
    static void reservePointEntries(KeyedNode& point, const String& params);
    template <class Visit>
    void visitPointRows(KeyedNode& points, int rowLimit, int (*cellOf)(StringView), Visit&& visit);
    // The set elements of a series kept compactly in xyPoints_, written from its narrow texts.
    void writeCompactXYSets(DocumentText& text, Integer series, bool bubble);
    // One set element of an XY point from its cells and further attributes; the first point
    // without an x value sets ended, and no set is written from then on.
    static void writeXYSet(DocumentText& text, const PointRow& row, bool bubble, bool& ended);
    void writeStyles();
    void writeLineSection(StringView section, StringView key, Integer count);
    void writeTrendlines();
    void writeVTrendlines();
    using SetsWriter = void (ArrayClass::*)(DocumentText& text, Integer series);
    void writeSeriesElements(StringView open, StringView close, KeyedNode& series, Integer count,
                             SetsWriter writeSets);
    // The attributes of a parameter string stored whole, parsed and escaped now.
    void appendAttributeList(DocumentText& text, StringView stored) const;
    // Database imports: the dataset parameters of the next dataset, and one pass of the column
    // form. See ArrayClassDatabase.cpp.
    class DatasetParams;
    void addGroupedDatasets(Recordset& rs, const String& ctrlField, const String& valueField,
                            DatasetParams& params);
    void addColumnDatasets(Recordset& rs, const std::vector<String>& columns,
                           const String& valueField, DatasetParams& params);
    // addChartData(value, "label=" + label + ";") with ";" as the delimiter, for a label without
    // ";" or blanks around it: the escaped label is stored on the point directly instead of being
    // parsed back out of the parameter text. escaped is working space. Errors as addChartData.
    void addLabelledChartData(const String& value, StringView label, String& escaped);
    // Runs a body writer; its first run-time error replaces the document by the error's text.
    void writeTrapped(const std::function<void()>& body);
    // Tells the listener about an error an operation trapped, with what became of the call.
    void reportTrapped(const wchar_t* member, const std::optional<Error>& failure,
                       const wchar_t* outcome) const;

    KeyedStore store_;
    XYPointTable xyPoints_;
    bool compactXY_ = true; // off only in tests that compare both forms
    // The node "chartdata" / cachedSeries_, valid until the store is cleared.
    KeyedNode* cachedSeriesNode_ = nullptr;
    Integer cachedSeries_ = 0;
    String delimiter_ = L";";
    std::unique_ptr<PTColors> color_;
    std::function<void()> yield_;
    std::shared_ptr<MessageSink> messageSink_;
    DiagnosticsChannel diagnostics_;
    bool writing_ = false;
    bool hasVLines_ = false; // a vertical line was recorded since the last reset

    Integer categoryCount_ = 0, datasetCount_ = 0, seriesIndex_ = 0, pointIndex_ = 0;
    String countedDataset_;
    Integer countedDatasetNumber_ = 0; // the number countedDataset_ spells
    Integer dataPointCount_ = 0;
    Integer trendlineCount_ = 0, vTrendlineCount_ = 0, styleDefineCount_ = 0, styleApplyCount_ = 0;
    Integer linesetCount_ = 0, lastLineset_ = 0, linesetPointIndex_ = 0;
    bool isLinesetMode_ = false;
    bool stackStarted_ = false;
    std::vector<Integer> stackGroupEnds_;
    Integer datasetPointIndex_ = 0;
    Integer chartType_ = 0;
    chart_types::SeriesKind chartKind_ = chart_types::SeriesKind::None;
    // Set while a database import stores a point whose label it adds right after.
    bool labelledPoint_ = false;
    DocumentText documentText_;
    // The generated document while packDocument holds it as UTF-8 (documentText_ is empty),
    // shared with whoever packDocument handed it to.
    std::shared_ptr<const std::string> packedDocument_;
    String labelAttribute_, rootElement_;
    bool isXMLGenerated_ = false;
    // The external document, kept once as UTF-8; externalWide_ is its wide form, made only when
    // document() is asked for it.
    std::shared_ptr<const std::string> externalXML_;
    String externalWide_;
    bool isExternalXML_ = false;
};

} // namespace plotara
