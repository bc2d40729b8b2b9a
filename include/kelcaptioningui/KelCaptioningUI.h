#pragma once

#include <string_view>
#include <vector>

#include "kelcaptioning/CaptionList.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioning/StreamFormat.h"
#include "kelcaptioningui/Export.h"
#include "kelcore/Allocators.h"
#include "kelcore/Geometry.h"
#include "kelmediatypes/PixelShape.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

using CaptionRectList = std::vector<kelcore::RectT<float>, kelcore::STLAllocator<kelcore::RectT<float>>>;

// Paints the model's visible windows, in the model's render order, into the Inkpad's surface.
// `frameRect` is the whole video frame in the surface's drawing coordinates. A null Inkpad draws
// nothing.
//
// On an OS surface (the drawing layer's own, as RenderOpenCaptions makes) the areas replace pixels
// and the text blends over them. Before each window the surface is switched to source-copy
// compositing, and the window's rectangle is filled with its fill colour: the rectangle takes that
// colour, alpha included, and a transparent fill clears it to transparent. Cell and span
// backgrounds replace their rectangles the same way (transparent ones are not filled). Text,
// edges, outlines, underlines and the caption symbol are laid over what lies beneath them ("over"
// compositing whatever the mode): a transparent colour leaves the pixels as they were and a
// translucent one blends with them. Pixels that nothing is drawn on keep what they held. The
// surface is left in source-copy compositing once a window has been drawn: the mode belongs to the
// surface's GDI+ graphics, not to its drawing state, so saving and restoring that state does not
// undo it, and rectangles the host fills on the surface afterwards replace pixels too. Other
// surfaces draw with their own compositing.
KELCAPTIONINGUI_API void DrawCaption(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                     kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& frameRect);

// Appends to `rects` what DrawCaption would cover: per visible window, its rectangle (unless its
// fill is transparent) and then its text rectangles. The list is never cleared. Open-caption
// formats measure text through the Inkpad; grid formats do not use it.
KELCAPTIONINGUI_API void GetCaptionRects(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                         kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& frameRect,
                                         CaptionRectList& rects);

// The rectangle that rows [firstRow, firstRow + rowCount) of grid window `windowNumber` take when
// DrawCaption draws the model in `frameRect`: the window's left and width, from the top of the
// first row's cells to the bottom of the last's (not snapped to pixels). All zero for an
// open-caption format, a window that is absent or hidden, or rows not all within the window.
KELCAPTIONINGUI_API kelcore::RectT<float> GetCaptionRowsRect(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                                             int windowNumber, int firstRow, int rowCount,
                                                             const kelcore::RectT<float>& frameRect);

// Burns the model's captions into a caller's block of 32-bit premultiplied BGRA pixels (bytes B, G,
// R, A) with DrawCaption on a surface over the block, so each window's rectangle replaces pixels
// rather than drawing over them: it takes the window's fill colour, alpha included (a transparent
// window clears its rectangle to transparent); backgrounds replace theirs, text blends over them,
// and pixels that nothing is drawn on keep what they held. To keep a picture under the
// captions, burn them into a cleared layer and lay that over the frame with CompositeCaptionLayer
// (CaptionLayer.h). The surface, left in source-copy compositing, ends with the call.
//
// The surface is width x height times `scale`; `rowBytes` is the step between rows (positive;
// pass `flipVertical` for a bottom-up block, whose last row is then the top of the drawing).
// Caption coordinates map to pixels by GetVideoFrameInverseMatrix of `pixelFrameRect`,
// `layoutRect` and `scale`; `frameRect` is the frame in caption coordinates. `pixelAspectRatio` is
// not used. Returns false, touching nothing, for null pixels, a row step below 1, an empty model
// or a block that the drawing layer cannot draw into.
KELCAPTIONINGUI_API bool RenderOpenCaptions(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                            const kelcore::RectT<int>& pixelFrameRect,
                                            const kelmediatypes::PixelAspectRatio& pixelAspectRatio, char* pixels,
                                            int rowBytes, const kelcore::RectT<int>& frameRect,
                                            const kelcore::RectT<int>& layoutRect, int width, int height,
                                            bool flipVertical, float scale);

// The transform from caption coordinates to the pixels of a frame scaled by `scale`: a point p
// lands at ((p.x + tx) * k * sx, (p.y + ty) * sy), with sx, sy the scaled frame over the layout,
// k = denominator / numerator of the pixel aspect ratio and (tx, ty) the frame's offset. Always
// writes `matrix`; returns false when it is the identity because nothing needs transforming.
// The layout must have a positive size and the ratio a non-zero numerator.
KELCAPTIONINGUI_API bool GetVideoFrameInverseMatrix(const kelcore::RectT<int>& pixelFrameRect,
                                                    const kelcore::RectT<int>& layoutRect, float scale,
                                                    const kelmediatypes::PixelAspectRatio& pixelAspectRatio,
                                                    kelcore::MatrixT<float>& matrix);

// Scales the rectangle's horizontal edges by the pixel aspect ratio (numerator / denominator),
// keeping its width and height non-negative. A square ratio leaves it as it is.
KELCAPTIONINGUI_API void GetPARAdjustedRect(const kelmediatypes::PixelAspectRatio& pixelAspectRatio,
                                            kelcore::RectT<float>& rect);

// Creates the module's resource manager (the dialog reads its layout through it); a second call
// replaces the first manager. Call before running any dialog.
KELCAPTIONINGUI_API void Initialize();

// Destroys the resource manager; no effect when there is none. Call after the last dialog closed.
KELCAPTIONINGUI_API void Terminate();

// Builds the caption list that a new caption track of `format` starts with, into `captionList`
// (which lets go of what it held, also when building throws): the format, the wide-screen flag of
// digital TV, STL metadata for teletext and open EBU (with `maxNumberOfRow` and
// `maxCharactersInRow`), and either one placeholder caption or, with `positionSamples`, captions
// that show the positions. Sizes are for a caption area of 80 % of the frame. Open-caption
// captions are measured through `inkpad` and placed from their anchors; other formats do not use
// it. A zero-sized area or grid throws boost::bad_rational; the captions made before stay.
KELCAPTIONINGUI_API void GetDefaultCaptionList(kelui::inkpad::Inkpad* inkpad, kelcaptioning::StreamFormat format,
                                               int frameWidth, int frameHeight,
                                               const kelmediatypes::PixelAspectRatio& pixelAspectRatio,
                                               bool positionSamples, int maxNumberOfRow, int maxCharactersInRow,
                                               kelcaptioning::CaptionListPtr& captionList);

// Measures each paragraph of the caption with its spans' fonts and stores its line width (spans
// plus side margins of a quarter of the largest size) and line height (the paragraph's ratio times
// that size). With `updateBlockPositions` and a positive area, free-positioned text blocks keep
// their horizontal centres at their new widths. A null caption does nothing.
KELCAPTIONINGUI_API void RefreshCaptionSizeInfo(kelcaptioning::CaptionPtr& caption, kelui::inkpad::Inkpad* inkpad,
                                                bool updateBlockPositions, int areaWidth, int areaHeight);

// The width of `text` in a span of `attributes`, as RefreshCaptionSizeInfo measures a span (in
// model units, not rounded; up to a NUL, as spans are drawn), so that a host can wrap lines
// before it stores them. 0 without a drawing context.
KELCAPTIONINGUI_API float MeasureSpanTextWidth(const kelcaptioning::TextSpanAttributes& attributes,
                                               std::u16string_view text, kelui::inkpad::Inkpad* inkpad);

}  // namespace kelcaptioningui
