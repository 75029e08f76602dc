#include "scenes/scene_editor_view.h"

#include <QEvent>
#include <QLabel>

#include "shell/appearance_view.h"
#include "shell/widgets.h"

namespace kx {

namespace {

constexpr int kColumns = 10;

QComboBox* list(QWidget* parent, const QString& name, const QStringList& entries, QRect r) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(entries);
    c->setGeometry(r);
    return c;
}

}  // namespace

SceneEditorView::SceneEditorView(SceneTable& scenes, const EffectTable& effects,
                                 const QString& workSet, Services services, QWidget* parent)
    : QWidget(parent),
      m_editor(scenes, workSet),
      m_effectTable(effects),
      m_services(std::move(services)),
      m_colours(sceneEditorColours(m_services.appearance)) {
    setObjectName("SceneEditorView");
    buildScenes();
    buildEffects();
    buildSettings();
    m_editor.observe([this](SceneAspects changed) { redraw(changed); });
}

void SceneEditorView::buildScenes() {
    QGroupBox* box = makeFrame(this, "场景", QRect(4, 2, 1272, 216), "Frame场景");
    for (int n = 1; n <= kSceneCount; ++n) {
        const bool special = isSpecialScene(n);
        const int index = special ? n - kLastAssignableScene - 1 : n - 1;
        const int row = index / kColumns + (special ? 3 : 0);
        const int y = 22 + row * 34 + (special ? 20 : 0);
        QPushButton* b = makeButton(box, "Command场景" + QString::number(n), QString::number(n),
                                    QRect(10 + index % kColumns * 126, y, 120, 30));
        makeGraphical(b);
        connect(b, &QPushButton::clicked, this, [this, n] { m_editor.chooseScene(n); });
        m_scenes[n - 1] = b;
    }
    auto* special = new QLabel("特殊场景", box);
    special->setGeometry(10, 124, 200, 18);
}

void SceneEditorView::buildEffects() {
    QGroupBox* box = makeFrame(this, "Dmx512效果", QRect(4, 222, 1272, 214), "FrameDmx512效果");
    for (int e = 1; e <= kEffectCount; ++e) {
        QPushButton* b =
            makeButton(box, "CommandDmx512效果" + QString::number(e), {},
                       QRect(10 + (e - 1) % kColumns * 104, 22 + (e - 1) / kColumns * 37, 100, 32));
        makeGraphical(b);
        connect(b, &QPushButton::clicked, this, [this, e] { clickEffect(e); });
        m_effects[e - 1] = b;
    }
    QPushButton* import =
        makeButton(box, "Command导入全部效果", "导入全部效果", QRect(1070, 40, 190, 40));
    connect(import, &QPushButton::clicked, this, [this] {
        report(m_services.importAllEffects());
        m_editor.effectsChanged();
    });
    QPushButton* exportAll =
        makeButton(box, "Command导出全部效果", "全部效果另存", QRect(1070, 92, 190, 40));
    connect(exportAll, &QPushButton::clicked, this,
            [this] { report(m_services.exportAllEffects()); });
}

void SceneEditorView::buildSettings() {
    m_editEnabled = new QCheckBox("开启场景编辑", this);
    m_editEnabled->setObjectName("Check开启场景编辑");
    m_editEnabled->setGeometry(10, 446, 150, 28);
    connect(m_editEnabled, &QCheckBox::clicked, this,
            [this](bool on) { m_editor.setEditEnabled(on); });
    m_copy = makeButton(this, "Command复制场景设置", "复制设置", QRect(170, 444, 90, 30));
    connect(m_copy, &QPushButton::clicked, this, [this] { m_editor.copy(); });
    m_paste = makeButton(this, "Command粘贴场景设置", "粘贴设置", QRect(266, 444, 90, 30));
    connect(m_paste, &QPushButton::clicked, this, [this] { m_editor.paste(); });

    m_remarkFrame = makeFrame(this, "场景备注", QRect(4, 482, 300, 70), "Frame场景备注");
    m_remark = new QComboBox(m_remarkFrame);
    m_remark->setObjectName("ComboText场景备注");
    m_remark->setGeometry(10, 28, 280, 28);
    m_remark->setEditable(true);
    m_remark->setInsertPolicy(QComboBox::NoInsert);
    m_remark->addItems(sceneRemarkSuggestions());
    // The file keeps 20 characters of a name.
    m_remark->lineEdit()->setMaxLength(kSceneTextMax);
    connect(m_remark->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { m_editor.setName(text); });
    connect(m_remark, &QComboBox::activated, this,
            [this](int index) { m_editor.setName(m_remark->itemText(index)); });

    m_mains = new QCheckBox("强电由Dmx512控制", this);
    m_mains->setObjectName("Check强电由Dmx512控制");
    m_mains->setGeometry(10, 562, 250, 28);
    connect(m_mains, &QCheckBox::clicked, this, [this](bool on) { m_editor.setMainsByDmx(on); });

    m_associationFrame = makeFrame(this, "场景关联", QRect(312, 482, 560, 110), "Frame场景关联");
    auto* wallLabel = new QLabel("关联墙板场景", m_associationFrame);
    wallLabel->setGeometry(10, 28, 100, 26);
    m_wallPanel =
        list(m_associationFrame, "Combo关联墙板场景", associationEntries(), QRect(112, 28, 80, 26));
    auto* vodLabel = new QLabel("关联VOD场景", m_associationFrame);
    vodLabel->setGeometry(10, 66, 100, 26);
    m_vod =
        list(m_associationFrame, "Combo关联VOD场景", associationEntries(), QRect(112, 66, 80, 26));
    connect(m_wallPanel, &QComboBox::activated, this,
            [this](int n) { m_editor.setWallPanelScene(n); });
    connect(m_vod, &QComboBox::activated, this, [this](int n) { m_editor.setVodScene(n); });
    m_defaults = makeButton(m_associationFrame, "Command_关联_默认参数", "默认参数",
                            QRect(206, 28, 100, 30));
    connect(m_defaults, &QPushButton::clicked, this,
            [this] { m_editor.setDefaultAssociations(m_services.prompter); });
    auto* reportLabel = new QLabel("接收墙板&VOD场景", m_associationFrame);
    reportLabel->setGeometry(330, 24, 220, 22);
    m_reportBox = new QLineEdit(m_associationFrame);
    m_reportBox->setObjectName("Text接收场景对应");
    m_reportBox->setGeometry(330, 50, 210, 30);
    m_reportBox->setReadOnly(true);
    m_reportBox->installEventFilter(this);

    m_audioFrame = makeFrame(this, "音源选择", QRect(880, 482, 190, 70), "Frame音源选择");
    m_audio = list(m_audioFrame, "Combo音源选择", audioSourceEntries(), QRect(10, 28, 170, 28));
    connect(m_audio, &QComboBox::activated, this,
            [this](int source) { m_editor.setAudioSource(source); });
    m_effectorFrame = makeFrame(this, "效果器音效", QRect(1078, 482, 198, 70), "Frame效果器音效");
    m_effector =
        list(m_effectorFrame, "Combo效果器音效", effectorSoundEntries(), QRect(10, 28, 178, 28));
    connect(m_effector, &QComboBox::activated, this,
            [this](int sound) { m_editor.setEffectorSound(sound); });
}

void SceneEditorView::Fun_窗体载入() {
    if (!m_initialised) {
        m_initialised = true;
        applyViewColours(this, m_services.appearance);
    }
    m_editor.enter();
    m_services.showView(this);
    m_services.titleSceneMode();
    m_editor.chooseScene(m_editor.currentScene());
}

void SceneEditorView::Fun_场景选择_控件显示() {
    redraw(SceneAspects::all());
}

void SceneEditorView::redraw(SceneAspects changed) {
    using A = SceneAspect;
    if (changed.touches({A::Table, A::Current})) drawScene();
    if (changed.touches({A::Table, A::Current, A::Effects})) drawEffects();
    if (changed.touches(A::Editing)) drawEditing();
}

void SceneEditorView::drawScene() {
    m_editor.applySpecialNames();
    const Appearance& a = m_services.appearance;
    for (int n = 1; n <= kSceneCount; ++n) {
        const QString caption = sceneButtonCaption(m_editor.scenes(), n);
        sceneButton(n)->setText(a.customised ? captionBreaks(caption, a) : caption);
        setButtonBackColour(sceneButton(n), n == m_editor.currentScene() ? m_colours.sceneSelected
                                                                         : m_colours.sceneOther);
    }
    const bool frames = sceneFramesShown(m_editor.currentScene());
    m_associationFrame->setVisible(frames);
    m_remarkFrame->setVisible(frames);
    const Scene& s = m_editor.current();
    // Rewriting the name being typed would move the cursor to the end.
    if (m_remark->currentText() != s.name) m_remark->setEditText(s.name);
    m_mains->setChecked(s.mainsByDmx != 0);
    m_wallPanel->setCurrentIndex(s.wallPanelScene);
    m_vod->setCurrentIndex(s.vodScene);
    m_audioFrame->setVisible(m_services.audioFollowMode() != 0);
    m_audio->setCurrentIndex(s.audioSource);
    m_effector->setCurrentIndex(s.effectorSound);
}

void SceneEditorView::drawEffects() {
    const int assigned = m_editor.current().effectNumber;
    for (int e = 1; e <= kEffectCount; ++e) {
        const Effect& fx = m_effectTable.at(e);
        effectButton(e)->setText(
            effectButtonCaption(e, fx.remark, effectUsedByAScene(m_editor.scenes(), e)));
        setButtonBackColour(effectButton(e),
                            effectButtonColour(effectHasContent(fx), e == assigned, m_colours));
    }
}

void SceneEditorView::drawEditing() {
    const bool on = m_editor.editEnabled();
    m_editEnabled->setChecked(on);
    // The report box is a monitor, not an edit: it stays usable while editing is off.
    for (QWidget* w : std::initializer_list<QWidget*>{m_mains, m_wallPanel, m_vod, m_defaults,
                                                      m_remarkFrame, m_effectorFrame, m_audioFrame})
        w->setEnabled(on);
    m_copy->setVisible(on);
    m_paste->setVisible(on);
}

void SceneEditorView::Fun_设置默认的场景关联参数() {
    m_editor.setDefaultAssociationsNow();
}

void SceneEditorView::clickEffect(int e) {
    if (m_editor.editEnabled()) {
        m_editor.toggleEffect(e);
        return;
    }
    m_services.openEffect(e);
}

void SceneEditorView::report(const Outcome& outcome) {
    if (!outcome.message.isEmpty()) m_services.prompter.message(outcome.message);
}

void SceneEditorView::Fun_接收场景关联(std::uint8_t code, std::span<const std::uint8_t> data) {
    if (const auto text = sceneReportText(code, data)) m_reportBox->setText(*text);
}

bool SceneEditorView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_reportBox) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_reportBox->clear();
            m_services.sceneReports(true);
            break;
        case QEvent::FocusIn:
            m_services.sceneReports(true);
            break;
        case QEvent::FocusOut:
            m_services.sceneReports(false);
            break;
        default:
            break;
    }
    return false;
}

}  // namespace kx
