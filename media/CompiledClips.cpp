#include "SdlSoundOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::vector<std::string> LoadCompiledClips(TSdlSoundOutput& output) {
    std::vector<std::string> problems;
    const QDir clips(QStringLiteral(":/sounds"));
    for (const QString& file : clips.entryList(QDir::Files)) {
        QFile resource(clips.filePath(file));
        const std::string name = QFileInfo(file).completeBaseName().toStdString();
        if (!resource.open(QIODevice::ReadOnly)) {
            problems.push_back(name + ": cannot be read");
            continue;
        }
        const QByteArray wave = resource.readAll();
        std::string problem = output.AddClip(
            name, std::string_view(wave.constData(), static_cast<std::size_t>(wave.size())));
        if (!problem.empty()) {
            problems.push_back(std::move(problem));
        }
    }
    return problems;
}
