#include "editors/branch_map_builder.h"

#include <QMetaObject>

#ifdef TELLWRIGHT_HAVE_LAYOUT
#include "layout/layout_worker.h"
#endif

namespace tellwright {

namespace {

// Set on destruction: no build still queued may start.
constexpr uint64_t kStopped = UINT64_MAX;

#ifdef TELLWRIGHT_HAVE_LAYOUT
// Raises `value` to `to` unless it is higher already.
void RaiseTo(std::atomic<uint64_t>& value, uint64_t to) {
  uint64_t now = value.load();
  while (now < to && !value.compare_exchange_weak(now, to)) {
  }
}
#endif

}  // namespace

#ifndef TELLWRIGHT_HAVE_LAYOUT
// Without Graphviz there is no worker; the unique_ptr needs a complete type.
class LayoutWorker {};
#endif

BranchMapBuilder::BranchMapBuilder(ModelReady modelReady, PictureReady pictureReady)
    : modelReady_(std::move(modelReady)), pictureReady_(std::move(pictureReady)) {
  modelThread_.setMaxThreadCount(1);
#ifdef TELLWRIGHT_HAVE_LAYOUT
  layout_ = std::make_unique<LayoutWorker>();
#endif
}

BranchMapBuilder::~BranchMapBuilder() {
  newestBuild_ = kStopped;
  modelThread_.clear();
  modelThread_.waitForDone();
  // The worker's thread may still post a picture to this object; the events
  // go with it.
  layout_.reset();
}

bool BranchMapBuilder::layoutAvailable() {
#ifdef TELLWRIGHT_HAVE_LAYOUT
  return true;
#else
  return false;
#endif
}

void BranchMapBuilder::build(std::shared_ptr<const DialogueDocument> document, std::vector<Problem> problems,
                             const DotOptions& options) {
  const uint64_t build = ++newestBuild_;
  modelThread_.start([this, build, document = std::move(document), problems = std::move(problems), options] {
    if (build != newestBuild_) return;  // a newer snapshot waits behind this one
    auto model = std::make_shared<BranchMapModel>();
    model->graph = BuildBranchGraph(*document, problems);
    model->options = options;
    model->dot = WriteGraphDot(model->graph, options);
    if (build != newestBuild_) return;
    QMetaObject::invokeMethod(
        this,
        [this, build, model] {
          if (build == newestBuild_) modelReady_(model);
        },
        Qt::QueuedConnection);
    requestLayout(std::move(model));
  });
}

void BranchMapBuilder::requestLayout([[maybe_unused]] std::shared_ptr<const BranchMapModel> model) {
#ifdef TELLWRIGHT_HAVE_LAYOUT
  const std::string& dot = model->dot;
  uint64_t ticket = layout_->request(dot, {.geometry = true}, [this, model](uint64_t ticket, LayoutResult result) {
    auto picture = std::make_shared<BranchMapPicture>();
    picture->model = model;
    picture->geometry = std::move(result.geometry);
    if (!result.status) picture->fault = QString::fromStdString(result.status.message);
    QMetaObject::invokeMethod(
        this,
        [this, ticket, picture] {
          if (ticket < newestTicket_) return;  // a newer layout is on its way
          ++picturesDelivered_;
          pictureReady_(*picture);
        },
        Qt::QueuedConnection);
  });
  RaiseTo(newestTicket_, ticket);
#endif
}

RenderedMap RenderMap([[maybe_unused]] const std::string& dot, [[maybe_unused]] MapFormat format) {
  RenderedMap rendered;
#ifdef TELLWRIGHT_HAVE_LAYOUT
  LayoutResult result = LayOutGraph(dot, {.geometry = false, .svg = format == MapFormat::Svg,
                                          .png = format == MapFormat::Png});
  rendered.status = result.status;
  rendered.bytes = std::move(format == MapFormat::Svg ? result.svg : result.png);
#else
  rendered.status = Status::Error("The branch map needs Graphviz, which this build does not have.");
#endif
  return rendered;
}

}  // namespace tellwright
