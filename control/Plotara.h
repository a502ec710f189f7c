// The chart control: it hosts a movie host that plays chart movies, builds the movie URL from its
// properties and its data object, and turns the movie's script calls into events.
#pragma once

#include "control/Enums.h"
#include "control/Picture.h"
#include "core/Diagnostics.h"
#include "core/Dispatch.h"
#include "core/String.h"
#include "data/PlotaraData.h"
#include "platform/Clock.h"
#include "platform/Container.h"
#include "platform/MovieHost.h"
#include "platform/PropertyBag.h"

#include <memory>
#include <string>
#include <vector>

namespace plotara {

class ChartPlayer; // player/ChartPlayer.h, which the control itself never includes

class Plotara : public Dispatch, public DiagnosticsSource {
public:
    // Creates the data object and applies the creation settings to the movie host, then
    // subscribes to its FlashCall event. Error 91 when no movie host is given; a null clock means
    // the system clock. The container must outlive the control.
    Plotara(Container& container, std::unique_ptr<MovieHost> movieHost,
            std::shared_ptr<const Clock> clock = nullptr);
    ~Plotara() override;
    Plotara(const Plotara&) = delete;
    Plotara& operator=(const Plotara&) = delete;

    // --- _Plotara properties ------------------------------------------------------------------
    // Writers without a word on failure let the container's and movie host's errors through.
    std::shared_ptr<PlotaraData> get_Data() const { return data_; }
    // A null object is accepted; members that need the data object then raise Error 91.
    void putref_Data(std::shared_ptr<PlotaraData> data);
    bool get_Enabled() const;
    void put_Enabled(bool value);
    Long get_hWnd() const;
    // Reads back the value written, unclamped.
    enumBorderStyle get_Border() const { return static_cast<enumBorderStyle>(m_Border); }
    // Error 6 when the value does not fit 16 bits (it is stored all the same).
    void put_Border(enumBorderStyle value);
    String get_BGColor() const { return m_BGColor; }
    // Never fails: each failing step is skipped.
    void put_BGColor(const String& value);
    bool get_Menu() const { return m_Menu; }
    void put_Menu(bool value);
    enumChartNames get_ChartType() const { return static_cast<enumChartNames>(m_ChartType); }
    // Never fails: each failing step is skipped; a type without a movie file ends as 1.
    void put_ChartType(enumChartNames value);
    void put_ChartHeight(Single value);
    String get_ChartPath() const { return m_ChartPath; }
    void put_ChartPath(const String& value);
    // The document last given to setDataXML, converted from the UTF-8 text it is kept as. Cannot
    // fail beyond running out of memory.
    String get_setDataXML() const;
    // Keeps the document as UTF-8 (characters outside Unicode become U+FFFD); run mode renders at
    // once; RenderChart's rules on errors apply.
    void put_setDataXML(const String& value);
    // The same from a UTF-8 document the caller shares and never changes (the command line hands
    // a file's text this way, without a wide copy); malformed sequences become U+FFFD, as
    // fromUtf8 reads them. A null text counts as empty. RenderChart's rules on errors apply.
    void put_setDataXMLText(std::shared_ptr<const std::string> utf8);
    String get_setDataURL() const { return m_ChartXMLFile; }
    // Never fails: the first failing step ends the writer silently.
    void put_setDataURL(const String& value);
    bool get_Debugger() const { return m_Debugger; }
    void put_Debugger(bool value);

    // --- _Plotara methods ---------------------------------------------------------------------
    // Repaints the control through its container.
    void Refresh();
    // Error 9 for a type outside 0 to 7 and Error 6 for one outside 16 bits; a blank message
    // does nothing (and raises nothing).
    void SetChartMessage(enumChartMessageType msgType, const String& message);
    // Builds the movie URL and loads it. Never fails: each failing step is skipped.
    void RenderChart();
    // Asks the movie to print itself; an error shows a message box and is not raised.
    void PrintChart();
    // Captures the chart, asks for a file name and saves a bitmap there; true when a file of that
    // name exists afterwards. Never fails: an error ends it with false and no message of its own.
    bool SaveAsImage(bool showConfirmation = true);
    // A newly captured picture of the chart: the empty picture, or none, when the capture failed
    // (after its message box). Errors of the message box reach the caller.
    std::shared_ptr<Picture> GetPicture();
    // "1.0.0"; cannot fail.
    String Version();
    // Selects the type by its lower-cased name (1 when unknown) and renders. Never fails.
    void SetChartType(const String& sChartType);
    // The group's type names; none for a value outside 0 to 7. Cannot fail.
    std::vector<String> GetChartArray(enumChartGroup eChartType = enumChartGroup::All);

    // --- lifecycle calls from the container ---------------------------------------------------
    // Initial values of a new control: errors of the container reach the caller.
    void InitProperties();
    // Loads the saved settings and re-applies them through the property writers. Traps nothing:
    // an error of the bag, a conversion or a writer reaches the caller, with the values applied so
    // far kept (the restoring mark is cleared all the same).
    void ReadProperties(PropertyBag& bag);
    // Saves the twelve settings in their order. Traps nothing: the bag's errors reach the caller,
    // with the values written so far kept.
    void WriteProperties(PropertyBag& bag);
    // Never fails: an error shows a message box and no Show event is raised.
    void onShow();
    // Errors of the container and movie host reach the caller.
    void onResize();
    // Errors of the host's event handler reach the caller.
    void onHide();
    // Does nothing.
    void onAmbientChanged();
    // The child control, for the container that lays it out.
    MovieHost& movieHost() { return *movieHost_; }

    // --- host integration ---------------------------------------------------------------------
    // Receives a record whenever a call was coerced, ignored or failed silently, from the
    // control, its data object (also one assigned later through Data) and a movie host that
    // reports (the chart player). The control behaves as before; an empty handler stops the
    // reports. Cannot fail; an exception of the handler reaches the caller of the reporting call.
    void setDiagnostics(DiagnosticsHandler handler) override;
    // The chart player that plays the charts, or nullptr when the movie host is of another kind.
    // Needs player/ChartPlayer.h included where it is called. Cannot fail.
    template <class Player = ChartPlayer>
    Player* player() const {
        return dynamic_cast<Player*>(movieHost_.get());
    }

    // --- component-internal members -----------------------------------------------------------
    // Which source the design-time preview shows: "url", "exxml", "dtime" or "".
    String get_renderedFrom() const { return m_renderedFrom; }
    // Stores the text and notifies "renderedFrom".
    void put_renderedFrom(const String& value);
    // The chart as prepared by the last RenderChart ("" before the first). Cannot fail beyond
    // running out of memory.
    String renderXML() const {
        if (!renderText_) return String();
        std::string text;
        appendMovieDocument(text, *renderText_, renderForm_);
        return fromUtf8(text);
    }
    // The chart-message groups accumulated so far.
    const String& chartMessages() const noexcept { return m_ChartMessages; }
    // Whether the next RenderChart sends the ready XML text given at run time.
    bool renderFromXML() const noexcept { return m_RenderFromXML; }
    // The full-edition movie file of the current chart type; "" outside 16 bits. Cannot fail.
    String GetChartFileName() const;
    // The sample document of the current chart type; cannot fail.
    String GetSampleXML() const;
    // The data object's grid parameters with ";" turned into "&"; Error 91 without data object.
    String GridParamsQuery() const;
    // The design-time sample URL, "" when the type has no sample. Errors of the container reach
    // the caller.
    String BuildSampleMovieURL() const;
    // Renders a ready XML text; RenderChart's rules on errors apply (Error 91 without data).
    void RenderFromXML(const String& xml);
    // The same for a UTF-8 text shared with the data object, which keeps it without a copy.
    void RenderFromXML(std::shared_ptr<const std::string> utf8);
    // Switches back to the data file; Error 91 without data object.
    void RenderFromURL(const String& location);
    // Shows the preview the renderedFrom value names. Errors of the steps reach the caller.
    void RefreshDesignPreview();
    // The FlashCall handler. Never fails: each failing step is skipped.
    void FlashCall(const String& request);

    // --- Dispatch -------------------------------------------------------------------------------
    // Error 438 for an unknown name (names match case-insensitively).
    Long idOfName(const String& name) const override;
    // Error 438 for an unknown id, 449 for a missing argument, 450 for too many; member errors
    // pass through.
    Variant invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) override;

private:
    // Whether a non-empty setDataXML document is stored.
    bool hasExternalXML() const noexcept { return m_ExternalXML && !m_ExternalXML->empty(); }
    PlotaraData& data() const;
    bool designMode() const;
    // The movie location, "?nocache=" and the timer text; with a separator "\" unless the chart
    // folder is a drive root and the caller asked for the drive-root rule.
    String movieBase(bool driveRootRule) const;
    // "&chartWidth=", "&chartHeight=" and the control's inner size.
    String sizeQuery() const;
    // "&registerWithJS=1&debugMode=" and "1" or "0".
    String debugQuery() const;
    String timerText() const;
    // RenderChart's URL up to its document: the movie of the chart file, the grid parameters of
    // a grid chart, the size, the chart messages and the debug switch. Steps that fail are
    // reported and left out.
    String renderHead(const String& file);
    // RenderChart's URL for a chart whose data is a file: the file named, or the load error
    // message when it does not exist; prepared is the document kept as the chart's text.
    void renderDataFile(const String& head, std::shared_ptr<std::string> prepared);
    void loadMovie(const String& url);
    void applyChartType(Long value);
    void showHandler();
    // Replaces the captured picture with a fresh capture of the movie host's area; true when it
    // has a bitmap. Never fails: an error shows its number and description in a message box.
    bool CaptureControlImage();

    Container& container_;
    std::unique_ptr<MovieHost> movieHost_;
    DiagnosticsChannel diagnostics_;
    std::shared_ptr<const Clock> clock_;
    std::shared_ptr<PlotaraData> data_;
    std::shared_ptr<Picture> picture_;

    // Naming: the m_ fields keep the control's established names for its state; the fields this
    // implementation adds end in an underscore.
    // The chart as prepared by the last RenderChart, as UTF-8: *renderText_ in renderForm_. When
    // the chart went to the movie host (dataXML), renderText_ is the very document the host was
    // handed and keeps, so a large chart is held once, not a second time on its own; when the URL
    // names a data file, it is a text of its own. Null before the first RenderChart. Never
    // changed once handed out: a RenderChart makes a new one.
    std::shared_ptr<const std::string> renderText_;
    MovieDocumentForm renderForm_ = MovieDocumentForm::Whole;
    String m_renderedFrom;
    bool m_RenderFromXML = false;
    bool m_RestoringProperties = false;
    String m_ChartMessages;
    Long m_Border = 2;
    Long m_ChartType = 1;
    String m_ChartPath;
    String m_ChartXMLFile;
    bool m_Debugger = false;
    // The setDataXML document as valid UTF-8, shared with the data object; never changed once
    // stored (a new document is a new text). nullptr stands for "".
    std::shared_ptr<const std::string> m_ExternalXML;
    String m_BGColor;
    bool m_Menu = true;
};

} // namespace plotara
