#include "PendingSoundOutput.h"

#include <QCoreApplication>
#include <cstdio>

TPendingSoundOutput::TPendingSoundOutput(TSdlSoundOutput& output)
    : output_(output), opened_(answer_.get_future()) {
    opening_ = std::thread([this, toolkit = toolkit_.get_future()]() mutable {
        if (!output_.Open()) {
            answer_.set_value({});
            output_.Close();
            return;
        }
        answer_.set_value(toolkit.get() ? LoadCompiledClips(output_) : std::vector<std::string>{});
    });
}

TPendingSoundOutput::~TPendingSoundOutput() {
    AnswerToolkit(false);
    Ready();
    opening_.join();
}

void TPendingSoundOutput::ToolkitStarted() {
    AnswerToolkit(true);
}

void TPendingSoundOutput::AnswerToolkit(bool started) {
    if (!toolkitAnswered_) {
        toolkitAnswered_ = true;
        toolkit_.set_value(started);
    }
}

TSdlSoundOutput& TPendingSoundOutput::Ready() {
    // Asked before ToolkitStarted() the helper would wait for ever; the clips
    // are then loaded only if an application object exists by now.
    AnswerToolkit(QCoreApplication::instance() != nullptr);
    if (opened_.valid()) {
        for (const std::string& problem : opened_.get()) {
            std::fprintf(stderr, "Lexipede: sound clip %s\n", problem.c_str());
        }
    }
    return output_;
}
