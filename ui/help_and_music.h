// The small aids beside the editor: music and the chat-group page in the
// hidden web view, the tutorial picture, the dye list and the colour chart.
#pragma once

namespace ui {

class EditorWindow;

void playMusic(EditorWindow& window);
void openChatGroupPage(EditorWindow& window);
void toggleTutorial(EditorWindow& window);
void toggleDyeList(EditorWindow& window);
// The chart is shown exactly while its check box is checked.
void followColourChartBox(EditorWindow& window);

}  // namespace ui
