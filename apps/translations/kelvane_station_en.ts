<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AlarmList</name>
    <message>
        <source>确认所选报警</source>
        <translation>Acknowledge selected alarms</translation>
    </message>
    <message>
        <source>全部确认</source>
        <translation>Acknowledge all</translation>
    </message>
    <message>
        <source>甲板</source>
        <translation>Deck</translation>
    </message>
    <message>
        <source>舱室</source>
        <translation>Compartment</translation>
    </message>
    <message>
        <source>传感器</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Acknowledge</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>未确认</source>
        <translation>Unacknowledged</translation>
    </message>
    <message>
        <source>已确认</source>
        <translation>Acknowledged</translation>
    </message>
    <message>
        <source>确认本甲板</source>
        <translation>Acknowledge deck</translation>
    </message>
    <message>
        <source>消音</source>
        <translation>Silence</translation>
    </message>
    <message>
        <source>搁置所选...</source>
        <translation>Shelve selected...</translation>
    </message>
    <message>
        <source>解除搁置</source>
        <translation>Unshelve</translation>
    </message>
    <message>
        <source>搁置...</source>
        <translation>Shelve...</translation>
    </message>
    <message>
        <source>在图上显示</source>
        <translation>Show on plan</translation>
    </message>
    <message>
        <source>详细信息...</source>
        <translation>Details...</translation>
    </message>
</context>
<context>
    <name>AlarmFeed</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>动作</source>
        <translation>Tripped</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
</context>
<context>
    <name>AlarmState</name>
    <message>
        <source>报警未确认</source>
        <translation>Unacknowledged</translation>
    </message>
    <message>
        <source>报警已确认</source>
        <translation>Acknowledged</translation>
    </message>
    <message>
        <source>已消除未确认</source>
        <translation>Cleared, unacknowledged</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>操作员确认</source>
        <translation>Acknowledged by the operator</translation>
    </message>
    <message>
        <source>控制台 %1 确认</source>
        <translation>Acknowledged at console %1</translation>
    </message>
    <message>
        <source>搁置至 %1: %2</source>
        <translation>Shelved until %1: %2</translation>
    </message>
    <message>
        <source>解除搁置</source>
        <translation>Unshelved</translation>
    </message>
</context>
<context>
    <name>AlarmTable</name>
    <message>
        <source>优先级</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>甲板</source>
        <translation>Deck</translation>
    </message>
    <message>
        <source>舱室</source>
        <translation>Compartment</translation>
    </message>
    <message>
        <source>传感器</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>测点</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>%1 %2 [首出]</source>
        <translation>%1 %2 [first out]</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1, 搁置至 %2</source>
        <translation>%1, shelved until %2</translation>
    </message>
    <message>
        <source>%1, 已抑制</source>
        <translation>%1, suppressed</translation>
    </message>
    <message>
        <source>%1, 数据非实时</source>
        <translation>%1, data not live</translation>
    </message>
    <message>
        <source>搁置原因: %1</source>
        <translation>Shelved because: %1</translation>
    </message>
</context>
<context>
    <name>AlarmPerformance</name>
    <message>
        <source>报警系统性能</source>
        <translation>Alarm-system performance</translation>
    </message>
    <message>
        <source>测点</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>报警次数</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>指标</source>
        <translation>Figure</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>报警总数</source>
        <translation>Alarms raised</translation>
    </message>
    <message>
        <source>每 10 分钟平均报警数</source>
        <translation>Average alarms per 10 minutes</translation>
    </message>
    <message>
        <source>10 分钟内最多报警数</source>
        <translation>Most alarms in 10 minutes</translation>
    </message>
    <message>
        <source>报警泛滥时间占比</source>
        <translation>Share of time in flood</translation>
    </message>
    <message>
        <source>最频繁的报警</source>
        <translation>Most frequent alarms</translation>
    </message>
    <message>
        <source>抖动报警(1 分钟内 3 次以上)</source>
        <translation>Chattering alarms (3 or more in a minute)</translation>
    </message>
    <message>
        <source>1 分钟内最多</source>
        <translation>Most in a minute</translation>
    </message>
    <message>
        <source>长期报警(超过 24 小时)</source>
        <translation>Standing alarms (over 24 hours)</translation>
    </message>
    <message>
        <source>报警时间</source>
        <translation>Raised at</translation>
    </message>
    <message>
        <source>持续小时</source>
        <translation>Hours standing</translation>
    </message>
</context>
<context>
    <name>AlarmPerformanceDialog</name>
    <message>
        <source>报警系统性能</source>
        <translation>Alarm-system performance</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>From</translation>
    </message>
    <message>
        <source>结束</source>
        <translation>To</translation>
    </message>
    <message>
        <source>计算</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Reports</translation>
    </message>
    <message>
        <source>报警系统性能...</source>
        <translation>Alarm-system performance...</translation>
    </message>
    <message>
        <source>结束时间早于开始时间。</source>
        <translation>The end is before the start.</translation>
    </message>
</context>
<context>
    <name>AlarmPriority</name>
    <message>
        <source>紧急</source>
        <translation>Emergency</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Caution</translation>
    </message>
</context>
<context>
    <name>AlarmSettings</name>
    <message>
        <source>%1: 没有 alarm 表</source>
        <translation>%1: no alarm table</translation>
    </message>
    <message>
        <source>%1: 未知的报警优先级 &quot;%2&quot; (应为 emergency, alarm, warning 或 caution)</source>
        <translation>%1: unknown alarm priority &quot;%2&quot; (emergency, alarm, warning or caution expected)</translation>
    </message>
</context>
<context>
    <name>AlarmSound</name>
    <message>
        <source>声响 (静音): %1</source>
        <translation>Sounding (muted): %1</translation>
    </message>
    <message>
        <source>声响: %1</source>
        <translation>Sounding: %1</translation>
    </message>
    <message>
        <source>已消音</source>
        <translation>Silenced</translation>
    </message>
</context>
<context>
    <name>AuditTrail</name>
    <message>
        <source>审计记录未打开</source>
        <translation>The audit trail is not open</translation>
    </message>
    <message>
        <source>无法打开审计记录 %1</source>
        <translation>Cannot open the audit trail %1</translation>
    </message>
    <message>
        <source>审计记录无法写入，%1 条记录暂存在内存中: %2</source>
        <translation>The audit trail cannot be written; %1 rows are kept in memory: %2</translation>
    </message>
    <message>
        <source>无法读取 %1 的审计记录</source>
        <translation>Cannot read the audit trail of %1</translation>
    </message>
    <message>
        <source>第 %1 条之前的审计记录被删除</source>
        <translation>Audit rows before row %1 were removed</translation>
    </message>
    <message>
        <source>第 %1 条审计记录被改动</source>
        <translation>Audit row %1 was changed</translation>
    </message>
    <message>
        <source>第 %1 条之后的审计记录缺失或被改动</source>
        <translation>Audit rows after row %1 are missing or were changed</translation>
    </message>
</context>
<context>
    <name>CompartmentMenu</name>
    <message>
        <source>手动报损</source>
        <translation>Report damage by hand</translation>
    </message>
    <message>
        <source>手动恢复</source>
        <translation>Recover by hand</translation>
    </message>
    <message>
        <source>手动恢复: %1</source>
        <translation>Recovered by hand: %1</translation>
    </message>
    <message>
        <source>部署小队</source>
        <translation>Deploy team</translation>
    </message>
    <message>
        <source>%1 (可用 %2/%3)</source>
        <translation>%1 (%2 of %3 available)</translation>
    </message>
    <message>
        <source>部署%1到%2</source>
        <translation>Deployed %1 to %2</translation>
    </message>
    <message>
        <source>%1已全部派出, 未部署</source>
        <translation>Every unit of %1 is out; not deployed</translation>
    </message>
    <message>
        <source>手动报损: %1 %2</source>
        <translation>Damage reported by hand: %1 %2</translation>
    </message>
    <message>
        <source>撤回%1</source>
        <translation>Withdraw %1</translation>
    </message>
    <message>
        <source>撤回%1 (%2)</source>
        <translation>Withdrew %1 (%2)</translation>
    </message>
    <message>
        <source>确认本舱报警</source>
        <translation>Acknowledge compartment alarms</translation>
    </message>
    <message>
        <source>确认该传感器报警</source>
        <translation>Acknowledge sensor alarms</translation>
    </message>
    <message>
        <source>详细信息...</source>
        <translation>Details...</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>边界 %1</source>
        <translation>Boundary %1</translation>
    </message>
    <message>
        <source>边界已设置</source>
        <translation>Boundary set</translation>
    </message>
    <message>
        <source>边界 %1 已设置</source>
        <translation>Boundary %1 set</translation>
    </message>
    <message>
        <source>边界 %1 已撤除</source>
        <translation>Boundary %1 lifted</translation>
    </message>
</context>
<context>
    <name>ConsoleKeys</name>
    <message>
        <source>无法读取密钥文件 %1: %2</source>
        <translation>Cannot read the key file %1: %2</translation>
    </message>
    <message>
        <source>密钥文件 %1 格式不对</source>
        <translation>The key file %1 is not in the expected format</translation>
    </message>
    <message>
        <source>无法写入密钥文件 %1: %2</source>
        <translation>Cannot write the key file %1: %2</translation>
    </message>
    <message>
        <source>密钥文件 %1 中控制台 &quot;%2&quot; 的条目无效</source>
        <translation>The key file %1 has an invalid entry for console &quot;%2&quot;</translation>
    </message>
    <message>
        <source>密钥文件 %1 与船舶密钥文件中控制台 &quot;%2&quot; 的公钥不符</source>
        <translation>The key file %1 does not match the public key of console &quot;%2&quot; in the ship keys file</translation>
    </message>
</context>
<context>
    <name>DeckSwitcher</name>
    <message>
        <source>%1  报警 %2</source>
        <translation>%1  alarms: %2</translation>
    </message>
    <message>
        <source>%1  正常</source>
        <translation>%1  normal</translation>
    </message>
    <message>
        <source>%1  报警 %2, 未确认 %3</source>
        <translation>%1  alarms %2, unacknowledged %3</translation>
    </message>
</context>
<context>
    <name>DrawingAid</name>
    <message>
        <source>选择工具开始任务; 点击边界线段可选择边界</source>
        <translation>Choose a tool to start a task; click a boundary segment to choose its boundary</translation>
    </message>
    <message>
        <source>放置传感器: 左键放置, 右键或 Shift+Esc 放弃</source>
        <translation>Placing a sensor: left click places it, right click or Shift+Esc gives up</translation>
    </message>
    <message>
        <source>画轮廓: 左键放置第一个点, Shift+Esc 放弃</source>
        <translation>Drawing an outline: left click places the first corner, Shift+Esc gives up</translation>
    </message>
    <message>
        <source>画轮廓: 左键加点, 双击或右键完成, Shift+Esc 放弃</source>
        <translation>Drawing an outline: left click adds a corner, double or right click finishes, Shift+Esc gives up</translation>
    </message>
    <message>
        <source>%1 吸附到 %2</source>
        <translation>%1 snaps to %2</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>导出事件报告</source>
        <translation>Export incident report</translation>
    </message>
    <message>
        <source>导出事件报告...</source>
        <translation>Export incident report...</translation>
    </message>
    <message>
        <source>导出到文件...</source>
        <translation>Export to file...</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>From</translation>
    </message>
    <message>
        <source>结束</source>
        <translation>To</translation>
    </message>
    <message>
        <source>开始晚于结束</source>
        <translation>The start is later than the end</translation>
    </message>
    <message>
        <source>未知的文件类型: %1 (应为 .csv, .pdf 或 .json)</source>
        <translation>Unknown file type: %1 (expected .csv, .pdf or .json)</translation>
    </message>
    <message>
        <source>CSV 报告 (*.csv);;PDF 报告 (*.pdf);;训练场景 (*.json)</source>
        <translation>CSV report (*.csv);;PDF report (*.pdf);;Training scenario (*.json)</translation>
    </message>
    <message>
        <source>已导出 %1</source>
        <translation>Exported %1</translation>
    </message>
</context>
<context>
    <name>FilterBar</name>
    <message>
        <source>全部甲板</source>
        <translation>All decks</translation>
    </message>
    <message>
        <source>全部优先级</source>
        <translation>All priorities</translation>
    </message>
    <message>
        <source>舱室</source>
        <translation>Compartment</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
</context>
<context>
    <name>ExampleTranslation</name>
    <message>
        <source>界面语言(例如 en)。</source>
        <translation>Language of the user interface (for example en).</translation>
    </message>
    <message>
        <source>没有语言 %1 的翻译</source>
        <translation>No translation for language %1</translation>
    </message>
</context>
<context>
    <name>HistoryStatus</name>
    <message>
        <source>审计记录写入失败</source>
        <translation>Audit trail write failed</translation>
    </message>
    <message>
        <source>历史未记录</source>
        <translation>History not kept</translation>
    </message>
    <message>
        <source>历史写入失败</source>
        <translation>History write failed</translation>
    </message>
    <message>
        <source>历史已重新开始</source>
        <translation>History started anew</translation>
    </message>
</context>
<context>
    <name>IncidentEvent</name>
    <message>
        <source>%1 (控制台 %2)</source>
        <translation>%1 (console %2)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>取消搁置</source>
        <translation>Unshelved</translation>
    </message>
    <message>
        <source>手动恢复</source>
        <translation>Recovered by hand</translation>
    </message>
    <message>
        <source>手动报损</source>
        <translation>Damage marked by hand</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>报警消除</source>
        <translation>Alarm cleared</translation>
    </message>
    <message>
        <source>搁置</source>
        <translation>Shelved</translation>
    </message>
    <message>
        <source>撤回小队</source>
        <translation>Team withdrawn</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Acknowledged</translation>
    </message>
    <message>
        <source>部署小队</source>
        <translation>Team deployed</translation>
    </message>
    <message>
        <source>设置边界</source>
        <translation>Boundary set</translation>
    </message>
    <message>
        <source>撤除边界</source>
        <translation>Boundary lifted</translation>
    </message>
    <message>
        <source>%1 (控制台 %2, 操作员 %3)</source>
        <translation>%1 (console %2, operator %3)</translation>
    </message>
    <message>
        <source>消音</source>
        <translation>Silenced</translation>
    </message>
</context>
<context>
    <name>IncidentExport</name>
    <message>
        <source>优先级</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>损害类型</source>
        <translation>Kind of damage</translation>
    </message>
    <message>
        <source>搁置原因</source>
        <translation>Shelving reason</translation>
    </message>
    <message>
        <source>事件报告 %1 至 %2</source>
        <translation>Incident report %1 to %2</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>控制台</source>
        <translation>Console</translation>
    </message>
    <message>
        <source>无法写入 %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>测点</source>
        <translation>Data point</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>Kind</translation>
    </message>
</context>
<context>
    <name>IncidentOptions</name>
    <message>
        <source>控制台名称不能含控制字符(U+%1)</source>
        <translation>The console name must not contain control characters (U+%1)</translation>
    </message>
    <message>
        <source>--export-from 和 --export-to 需要至少一个输出文件(--scenario-out, --csv-out, --pdf-out 或 --kpi-out)</source>
        <translation>--export-from and --export-to need at least one output file (--scenario-out, --csv-out, --pdf-out or --kpi-out)</translation>
    </message>
    <message>
        <source>历史数据库文件(默认为用户数据目录下的 incident-&lt;名称&gt;.sqlite)。</source>
        <translation>History database file (default: incident-&lt;name&gt;.sqlite in the user's data folder).</translation>
    </message>
    <message>
        <source>导出事件的开始时间(ISO 8601 或毫秒)。</source>
        <translation>Start of the incident to export (ISO 8601 or milliseconds since the epoch).</translation>
    </message>
    <message>
        <source>导出事件的结束时间(ISO 8601 或毫秒)。</source>
        <translation>End of the incident to export (ISO 8601 or milliseconds since the epoch).</translation>
    </message>
    <message>
        <source>导出需要有效的 --export-from 和 --export-to 时间(开始不晚于结束): %1 %2</source>
        <translation>An export needs valid --export-from and --export-to times (start not after end): %1 %2</translation>
    </message>
    <message>
        <source>把事件导出为数据服务器的场景文件。</source>
        <translation>Export the incident as a data server scenario file.</translation>
    </message>
    <message>
        <source>把事件报告写成 CSV 文件。</source>
        <translation>Write the incident report as a CSV file.</translation>
    </message>
    <message>
        <source>把事件报告写成 PDF 文件。</source>
        <translation>Write the incident report as a PDF file.</translation>
    </message>
    <message>
        <source>本控制台在共享事件状态中的名称(默认为主机名)。</source>
        <translation>This console's name in the shared incident state (default: the host name).</translation>
    </message>
    <message>
        <source>把报警系统性能指标写成 JSON 文件。</source>
        <translation>Write the alarm-system performance figures as a JSON file.</translation>
    </message>
</context>
<context>
    <name>IncidentStore</name>
    <message>
        <source>历史记录已关闭: 历史数据库 %1 正由另一个控制台使用(%2 上的进程 %3)</source>
        <translation>History is off: the history database %1 is in use by another console (process %3 on %2)</translation>
    </message>
    <message>
        <source>历史记录已关闭: 无法锁定历史数据库 %1</source>
        <translation>History is off: cannot lock the history database %1</translation>
    </message>
    <message>
        <source>历史记录已关闭: %1</source>
        <translation>History is off: %1</translation>
    </message>
    <message>
        <source>历史数据库 %1 已损坏, 且无法移开</source>
        <translation>The history database %1 is damaged and cannot be moved aside</translation>
    </message>
    <message>
        <source>历史数据库 %1 已损坏, 已移至 %2, 新的历史从现在开始</source>
        <translation>The history database %1 is damaged: moved to %2, a new history starts now</translation>
    </message>
    <message>
        <source>历史记录已关闭: 历史数据库 %1 不能写入(%2)</source>
        <translation>History is off: the history database %1 cannot be written (%2)</translation>
    </message>
    <message>
        <source>历史写入失败: %1</source>
        <translation>Writing the history failed: %1</translation>
    </message>
    <message>
        <source>历史写入失败, %1 条记录已丢失: %2</source>
        <translation>Writing the history failed, %1 records lost: %2</translation>
    </message>
    <message>
        <source>历史数据库 %1 无法使用: %2</source>
        <translation>The history database %1 cannot be used: %2</translation>
    </message>
    <message>
        <source>历史数据库 %1 的格式 %2 比本程序新</source>
        <translation>The history database %1 has format %2, newer than this program</translation>
    </message>
    <message>
        <source>无法打开历史数据库 %1: %2</source>
        <translation>Cannot open the history database %1: %2</translation>
    </message>
</context>
<context>
    <name>IncidentCatalogue</name>
    <message>
        <source>%1 %2 (%3)</source>
        <translation>%1 %2 (%3)</translation>
    </message>
    <message>
        <source>防烟边界</source>
        <translation>smoke boundary</translation>
    </message>
    <message>
        <source>防火边界</source>
        <translation>fire boundary</translation>
    </message>
</context>
<context>
    <name>IncidentTracker</name>
    <message>
        <source>%1, 搁置到期</source>
        <translation>%1, shelving ran out</translation>
    </message>
</context>
<context>
    <name>LanguageMenu</name>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
</context>
<context>
    <name>LinkBanner</name>
    <message>
        <source>数据中断: 画面为 %1 时的数值, 不再实时更新</source>
        <translation>Data link down: values as of %1, no longer live</translation>
    </message>
    <message>
        <source>%1 — %2 秒后重连 %3</source>
        <translation>%1 — reconnecting to %3 in %2 s</translation>
    </message>
    <message>
        <source>%1 — 正在重连 %2</source>
        <translation>%1 — reconnecting to %2</translation>
    </message>
    <message>
        <source>%1 — 已连接 %2, 服务器未应答</source>
        <translation>%1 — connected to %2, the server does not answer</translation>
    </message>
    <message>
        <source>共享状态: %1 项操作未被服务器接受, %2 秒后重发</source>
        <translation>Shared state: %1 action(s) not taken by the server, sending again in %2 s</translation>
    </message>
    <message>
        <source>共享状态: %1 项操作未被服务器接受, 正在重发</source>
        <translation>Shared state: %1 action(s) not taken by the server, sending again</translation>
    </message>
    <message>
        <source>共享状态: %1 项操作尚未发布, 连接恢复后发送</source>
        <translation>Shared state: %1 action(s) not yet published, sent when the link returns</translation>
    </message>
</context>
<context>
    <name>MaintainerMain</name>
    <message>
        <source>船舶文件</source>
        <translation>Ship file</translation>
    </message>
    <message>
        <source>配置文件夹</source>
        <translation>Configuration folder</translation>
    </message>
    <message>
        <source>保存到的文件 (默认覆盖船舶文件并保留 .bak)</source>
        <translation>File to save to (default: overwrite the ship file and keep a .bak copy)</translation>
    </message>
    <message>
        <source>多余的参数 %1</source>
        <translation>Unexpected arguments %1</translation>
    </message>
</context>
<context>
    <name>MaintainerWindow</name>
    <message>
        <source>吸附</source>
        <translation>Snap</translation>
    </message>
    <message>
        <source>画轮廓时把靠近舱室顶点的点吸附到顶点上</source>
        <translation>Corners drawn near a compartment corner land on that corner</translation>
    </message>
    <message>
        <source>船舶文件维护 - %1[*]</source>
        <translation>Ship File Maintenance - %1[*]</translation>
    </message>
    <message>
        <source>甲板</source>
        <translation>Decks</translation>
    </message>
    <message>
        <source>维护</source>
        <translation>Maintenance</translation>
    </message>
    <message>
        <source>放置传感器</source>
        <translation>Place sensor</translation>
    </message>
    <message>
        <source>重画舱室轮廓</source>
        <translation>Redraw compartment outline</translation>
    </message>
    <message>
        <source>新建防火边界</source>
        <translation>New fire boundary</translation>
    </message>
    <message>
        <source>新建防烟边界</source>
        <translation>New smoke boundary</translation>
    </message>
    <message>
        <source>复制到上层甲板</source>
        <translation>Copy to deck above</translation>
    </message>
    <message>
        <source>复制到下层甲板</source>
        <translation>Copy to deck below</translation>
    </message>
    <message>
        <source>重画边界</source>
        <translation>Redraw boundary</translation>
    </message>
    <message>
        <source>删除边界</source>
        <translation>Delete boundary</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>已选择边界</source>
        <translation>Boundary chosen</translation>
    </message>
    <message>
        <source>请先在图上点击选择一条边界</source>
        <translation>First click a boundary on the plan to choose it</translation>
    </message>
    <message>
        <source>传感器 %1 已放置</source>
        <translation>Sensor %1 placed</translation>
    </message>
    <message>
        <source>请先选择一个传感器</source>
        <translation>Choose a sensor first</translation>
    </message>
    <message>
        <source>舱室 %1 的轮廓已更新</source>
        <translation>Outline of compartment %1 updated</translation>
    </message>
    <message>
        <source>请先选择一个舱室</source>
        <translation>Choose a compartment first</translation>
    </message>
    <message>
        <source>边界至少需要 %1 个点</source>
        <translation>A boundary needs at least %1 corners</translation>
    </message>
    <message>
        <source>边界已创建</source>
        <translation>Boundary created</translation>
    </message>
    <message>
        <source>上方没有甲板</source>
        <translation>No deck above</translation>
    </message>
    <message>
        <source>下方没有甲板</source>
        <translation>No deck below</translation>
    </message>
    <message>
        <source>边界已复制到 %1</source>
        <translation>Boundary copied to %1</translation>
    </message>
    <message>
        <source>边界未重画，保留原轮廓</source>
        <translation>Boundary not redrawn; the old outline is kept</translation>
    </message>
    <message>
        <source>未保存: %1 上的边界副本与主边界轮廓不同，文件无法记录；请重新复制主边界或把副本复制回主边界</source>
        <translation>Not saved: the boundary copy on %1 differs from the outline of its master, which the file cannot hold; copy the master again, or copy the copy back to the master</translation>
    </message>
    <message>
        <source>已保存到 %1</source>
        <translation>Saved to %1</translation>
    </message>
    <message>
        <source>船舶文件已修改，是否保存？</source>
        <translation>The ship file has been modified. Save it?</translation>
    </message>
    <message>
        <source>未保存: %1</source>
        <translation>Not saved: %1</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>撤销 %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>重做 %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>放置传感器 %1</source>
        <translation>Place sensor %1</translation>
    </message>
    <message>
        <source>重画舱室 %1 的轮廓</source>
        <translation>Redraw the outline of compartment %1</translation>
    </message>
    <message>
        <source>复制边界到 %1</source>
        <translation>Copy boundary to %1</translation>
    </message>
</context>
<context>
    <name>OperatorAccounts</name>
    <message>
        <source>不能删除或降级最后一名高级船员: 否则无人能管理操作员账户</source>
        <translation>The last officer cannot be removed or demoted: nobody could manage the operator accounts any more</translation>
    </message>
    <message>
        <source>没有操作员 %1</source>
        <translation>No operator %1</translation>
    </message>
    <message>
        <source>操作员账户文件 %1 无法读取或格式不对</source>
        <translation>The operator accounts file %1 cannot be read or is not in the expected format</translation>
    </message>
    <message>
        <source>操作员账户文件 %1 中账户 &quot;%2&quot; 无效</source>
        <translation>The operator accounts file %1 has an invalid account &quot;%2&quot;</translation>
    </message>
    <message>
        <source>无法写入操作员账户文件 %1: %2</source>
        <translation>Cannot write the operator accounts file %1: %2</translation>
    </message>
    <message>
        <source>操作员名称不能为空，密码至少 %1 个字符</source>
        <translation>The operator name must not be empty and the password must have at least %1 characters</translation>
    </message>
    <message>
        <source>无法计算密码散列</source>
        <translation>Cannot compute the password hash</translation>
    </message>
</context>
<context>
    <name>OperatorSession</name>
    <message>
        <source>只有已登录的高级船员可以管理操作员账户</source>
        <translation>Only an officer who is logged in may manage operator accounts</translation>
    </message>
</context>
<context>
    <name>PlanMarks</name>
    <message>
        <source>限值 %1 / %2 / %3 / %4</source>
        <translation>limits %1 / %2 / %3 / %4</translation>
    </message>
    <message>
        <source>%1: %2 (%3), %4, %5 [%6]</source>
        <translation>%1: %2 (%3), %4, %5 [%6]</translation>
    </message>
    <message>
        <source>%1: %2 [%3]</source>
        <translation>%1: %2 [%3]</translation>
    </message>
    <message>
        <source>数据非实时</source>
        <translation>Data not live</translation>
    </message>
</context>
<context>
    <name>SensorDetail</name>
    <message>
        <source>传感器详情 - %1</source>
        <translation>Sensor detail - %1</translation>
    </message>
    <message>
        <source>%1  甲板: %2  舱室: %3</source>
        <translation>%1  deck: %2  compartment: %3</translation>
    </message>
    <message>
        <source>测点</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>数据点</source>
        <translation>Data point</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>限值 (低低/低/高/高高)</source>
        <translation>Limits (low-low/low/high/high-high)</translation>
    </message>
    <message>
        <source>确认点</source>
        <translation>Acknowledgement point</translation>
    </message>
    <message>
        <source>趋势</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>状态记录</source>
        <translation>State history</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>动作</source>
        <translation>Tripped</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>%1, 搁置: %2</source>
        <translation>%1, shelved: %2</translation>
    </message>
    <message>
        <source>%1  %2: %3</source>
        <translation>%1  %2: %3</translation>
    </message>
    <message>
        <source>低低限</source>
        <translation>Low-low</translation>
    </message>
    <message>
        <source>低限</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>高限</source>
        <translation>High</translation>
    </message>
    <message>
        <source>高高限</source>
        <translation>High-high</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>数值 (配置未给出单位)</source>
        <translation>Value (no unit configured)</translation>
    </message>
    <message>
        <source>数值 (%1)</source>
        <translation>Value (%1)</translation>
    </message>
</context>
<context>
    <name>ShelveDialog</name>
    <message>
        <source>搁置报警</source>
        <translation>Shelve alarms</translation>
    </message>
    <message>
        <source> 分钟</source>
        <translation> min</translation>
    </message>
    <message>
        <source>原因:</source>
        <translation>Reason:</translation>
    </message>
    <message>
        <source>时限:</source>
        <translation>Time limit:</translation>
    </message>
    <message>
        <source>搁置: %1</source>
        <translation>Shelve: %1</translation>
    </message>
</context>
<context>
    <name>ShipDocument</name>
    <message>
        <source>无法写入船舶文件 %1: %2</source>
        <translation>Cannot write ship file %1: %2</translation>
    </message>
    <message>
        <source>无法写入备份文件 %1</source>
        <translation>Cannot write backup file %1</translation>
    </message>
    <message>
        <source>位置不在本甲板的任何舱室内</source>
        <translation>The position is not inside any compartment of this deck</translation>
    </message>
    <message>
        <source>未知的传感器 %1</source>
        <translation>Unknown sensor %1</translation>
    </message>
    <message>
        <source>未知的舱室 %1</source>
        <translation>Unknown compartment %1</translation>
    </message>
    <message>
        <source>舱室轮廓至少需要 %1 个点</source>
        <translation>A compartment outline needs at least %1 corners</translation>
    </message>
    <message>
        <source>新轮廓之外还有属于该舱室的设备或队伍</source>
        <translation>Equipment or a team of the compartment would lie outside the new outline</translation>
    </message>
    <message>
        <source>新轮廓之外还有属于该舱室的传感器 %1</source>
        <translation>Sensor %1 of the compartment would lie outside the new outline</translation>
    </message>
</context>
<context>
    <name>ShipReader</name>
    <message>
        <source>测点名 %1 含有 GBK 无法表示的字符</source>
        <translation>data point name %1 holds characters GBK cannot encode</translation>
    </message>
    <message>
        <source>测点名含有控制字符</source>
        <translation>a data point name holds control characters</translation>
    </message>
    <message>
        <source>甲板图 %1 不在船舶文件的目录中</source>
        <translation>deck drawing %1 is not in the ship file's folder</translation>
    </message>
    <message>
        <source>船舶文件 %1 无法打开: %2</source>
        <translation>Ship file %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>边界编号 %1 重复</source>
        <translation>duplicate boundary id %1</translation>
    </message>
    <message>
        <source> (%1 第 %2 项, 第 %3 行)</source>
        <translation> (%1 item %2, line %3)</translation>
    </message>
    <message>
        <source>不是有效的JSON对象(位置 %1: %2)</source>
        <translation>not a valid JSON object (offset %1: %2)</translation>
    </message>
    <message>
        <source>不支持的格式版本 %1</source>
        <translation>unsupported format version %1</translation>
    </message>
    <message>
        <source>没有甲板</source>
        <translation>no decks</translation>
    </message>
    <message>
        <source>甲板编号 %1 重复</source>
        <translation>duplicate deck id %1</translation>
    </message>
    <message>
        <source>舱室类型 %1 不在 0 到 9 之间</source>
        <translation>compartment type %1 is not between 0 and 9</translation>
    </message>
    <message>
        <source>舱室编号 %1 重复</source>
        <translation>duplicate compartment id %1</translation>
    </message>
    <message>
        <source>未知的方向 %1</source>
        <translation>unknown direction %1</translation>
    </message>
    <message>
        <source>相邻舱室 %1 不存在</source>
        <translation>neighbouring compartment %1 does not exist</translation>
    </message>
    <message>
        <source>传感器编号 %1 重复</source>
        <translation>duplicate sensor id %1</translation>
    </message>
    <message>
        <source>未知的传感器视图组 %1</source>
        <translation>unknown sensor view group %1</translation>
    </message>
    <message>
        <source>传感器没有测点</source>
        <translation>the sensor has no data points</translation>
    </message>
    <message>
        <source>测点类别 %1 应为 STATE 或 VALUE</source>
        <translation>data point kind %1 should be STATE or VALUE</translation>
    </message>
    <message>
        <source>测点 %1 的下限不小于上限</source>
        <translation>the low limit of data point %1 is not below its high limit</translation>
    </message>
    <message>
        <source>测点名 %1 超过 %2 字节</source>
        <translation>data point name %1 is longer than %2 bytes</translation>
    </message>
    <message>
        <source>状态测点 %1 需要正常和报警两个图标</source>
        <translation>state data point %1 needs two icons, normal and alarm</translation>
    </message>
    <message>
        <source>数值测点 %1 不能有图标</source>
        <translation>value data point %1 cannot have icons</translation>
    </message>
    <message>
        <source>设备类别编号 %1 重复</source>
        <translation>duplicate equipment class id %1</translation>
    </message>
    <message>
        <source>未知的设备类别 %1</source>
        <translation>unknown equipment class %1</translation>
    </message>
    <message>
        <source>有效期 %1 不是日期</source>
        <translation>expiry date %1 is not a date</translation>
    </message>
    <message>
        <source>边界类型 %1 应为 fire 或 smoke</source>
        <translation>boundary type %1 should be fire or smoke</translation>
    </message>
    <message>
        <source>边界复制到的甲板 %1 无效</source>
        <translation>invalid deck %1 for a copy of the boundary</translation>
    </message>
    <message>
        <source>字段 %1 应为正整数编号</source>
        <translation>field %1 should be a positive whole-number id</translation>
    </message>
    <message>
        <source>字段 %1 应为非空文本</source>
        <translation>field %1 should be a non-empty text</translation>
    </message>
    <message>
        <source>字段 %1 应为数值</source>
        <translation>field %1 should be a number</translation>
    </message>
    <message>
        <source>字段 %1 应为整数</source>
        <translation>field %1 should be a whole number</translation>
    </message>
    <message>
        <source>字段 %1 应为列表</source>
        <translation>field %1 should be a list</translation>
    </message>
    <message>
        <source>字段 %1 应为 [x, y] 坐标</source>
        <translation>field %1 should be an [x, y] coordinate</translation>
    </message>
    <message>
        <source>字段 %1 应为至少三个点的轮廓</source>
        <translation>field %1 should be an outline of at least three points</translation>
    </message>
    <message>
        <source>未知的甲板编号 %1</source>
        <translation>unknown deck id %1</translation>
    </message>
    <message>
        <source>舱室 %1 不在该甲板上</source>
        <translation>compartment %1 is not on this deck</translation>
    </message>
    <message>
        <source>位置 (%1, %2) 不在舱室 %3 内</source>
        <translation>position (%1, %2) is not inside compartment %3</translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source> (%1 第 %2 项)</source>
        <translation> (%1 item %2)</translation>
    </message>
    <message>
        <source>船舶文件 %1%2: %3</source>
        <translation>Ship file %1%2: %3</translation>
    </message>
</context>
<context>
    <name>SnapshotRunner</name>
    <message>
        <source>无法创建目录 %1</source>
        <translation>Cannot create folder %1</translation>
    </message>
    <message>
        <source>无法写入图像 %1</source>
        <translation>Cannot write picture %1</translation>
    </message>
</context>
<context>
    <name>StationAdmin</name>
    <message>
        <source>控制台名称无效：不能为空，不含 &quot;|&quot;，最多 %1 字节 (GBK)</source>
        <translation>Invalid console name: it must not be empty, must not contain &quot;|&quot; and may have at most %1 bytes (GBK)</translation>
    </message>
    <message>
        <source>未知的角色 %1</source>
        <translation>Unknown role %1</translation>
    </message>
    <message>
        <source>审计记录完整：%1 条</source>
        <translation>The audit trail is intact: %1 rows</translation>
    </message>
    <message>
        <source>船舶安全设置：控制台密钥、操作员账户、审计记录检查 (docs/security.md)</source>
        <translation>Ship security set-up: console keys, operator accounts, audit trail check (docs/security.md)</translation>
    </message>
    <message>
        <source>船舶密钥文件</source>
        <translation>Ship keys file</translation>
    </message>
    <message>
        <source>本控制台的私钥文件</source>
        <translation>This console's secret key file</translation>
    </message>
    <message>
        <source>操作员角色</source>
        <translation>Operator role</translation>
    </message>
    <message>
        <source>操作员账户文件</source>
        <translation>Operator accounts file</translation>
    </message>
    <message>
        <source>keygen &lt;控制台&gt; | account &lt;操作员&gt; (密码从标准输入读取) | check-audit &lt;历史数据库&gt;</source>
        <translation>keygen &lt;console&gt; | account &lt;operator&gt; (password read from standard input) | check-audit &lt;history database&gt;</translation>
    </message>
</context>
<context>
    <name>StationMain</name>
    <message>
        <source>无法连接数据服务器 %1</source>
        <translation>Cannot connect to data server %1</translation>
    </message>
    <message>
        <source>没有历史数据库 %1</source>
        <translation>No history database %1</translation>
    </message>
    <message>
        <source>无法写入图像 %1</source>
        <translation>Cannot write the picture %1</translation>
    </message>
</context>
<context>
    <name>StationSettings</name>
    <message>
        <source>设置文件 %1 无法读取</source>
        <translation>The settings file %1 cannot be read</translation>
    </message>
    <message>
        <source>设置文件 %1 格式不对</source>
        <translation>The settings file %1 is not in the expected format</translation>
    </message>
    <message>
        <source>设置文件 %1 中的键 %2 未知</source>
        <translation>The settings file %1 has an unknown key %2</translation>
    </message>
    <message>
        <source>设置文件 %1 中的键 %2 应为 true 或 false</source>
        <translation>In the settings file %1 the key %2 must be true or false</translation>
    </message>
    <message>
        <source>设置文件 %1 无法写入</source>
        <translation>Settings file %1 cannot be written</translation>
    </message>
</context>
<context>
    <name>StationOptions</name>
    <message>
        <source>损管监控台: 显示各层甲板的传感器、舱室损害和报警。</source>
        <translation>Damage control monitoring station: shows the sensors, compartment damage and alarms of every deck.</translation>
    </message>
    <message>
        <source>设置文件(默认为配置目录下的 kelvane/station.conf)。</source>
        <translation>Settings file (default: kelvane/station.conf in the configuration folders).</translation>
    </message>
    <message>
        <source>数据服务器地址(数字地址)。</source>
        <translation>Address of the data server (numeric).</translation>
    </message>
    <message>
        <source>数据服务器端口。</source>
        <translation>Port of the data server.</translation>
    </message>
    <message>
        <source>船舶文件(ship.json)。</source>
        <translation>Ship file (ship.json).</translation>
    </message>
    <message>
        <source>Lua配置文件目录(默认为船舶文件旁的config目录)。</source>
        <translation>Folder of the Lua configuration files (default: the config folder beside the ship file).</translation>
    </message>
    <message>
        <source>无界面运行, 把每层甲板的图像写入该目录后退出。</source>
        <translation>Run without a window, write a picture of every deck to this folder, then exit.</translation>
    </message>
    <message>
        <source>写图像前等待的秒数。</source>
        <translation>Seconds to wait before the pictures are written.</translation>
    </message>
    <message>
        <source>服务器地址 %1 不是数字地址</source>
        <translation>Server address %1 is not a numeric address</translation>
    </message>
    <message>
        <source>端口 %1 无效</source>
        <translation>Invalid port %1</translation>
    </message>
    <message>
        <source>等待时间 %1 无效</source>
        <translation>Invalid waiting time %1</translation>
    </message>
    <message>
        <source>不发出报警声响(训练用)。</source>
        <translation>No audible alert (training).</translation>
    </message>
    <message>
        <source>等待 --after 秒后把窗口图像写入该文件并退出。</source>
        <translation>Write a picture of the window to this file after --after seconds, then exit.</translation>
    </message>
    <message>
        <source>船舶密钥文件(默认为船舶文件旁的 ship-keys.json, 若有)。</source>
        <translation>Ship keys file (default: ship-keys.json beside the ship file, if there is one).</translation>
    </message>
    <message>
        <source>本控制台的私钥文件。</source>
        <translation>This console's secret key file.</translation>
    </message>
    <message>
        <source>操作员账户文件(默认为船舶文件旁的 operators.json, 若有)。</source>
        <translation>Operators' accounts file (default: operators.json beside the ship file, if there is one).</translation>
    </message>
</context>
<context>
    <name>StationSession</name>
    <message>
        <source>历史未记录, 审计记录不会写入: %1</source>
        <translation>History not kept; the audit trail is not written: %1</translation>
    </message>
    <message>
        <source>审计记录恢复写入</source>
        <translation>The audit trail is written again</translation>
    </message>
    <message>
        <source>%1 条报警未确认</source>
        <translation>%1 alarms unacknowledged</translation>
    </message>
</context>
<context>
    <name>StationWindow</name>
    <message>
        <source>报告</source>
        <translation>Reports</translation>
    </message>
    <message>
        <source>损管监控台 - %1</source>
        <translation>Damage Control Station - %1</translation>
    </message>
    <message>
        <source>X %1  Y %2</source>
        <translation>X %1  Y %2</translation>
    </message>
    <message>
        <source>显示%1</source>
        <translation>Showing %1</translation>
    </message>
    <message>
        <source>视图</source>
        <translation>View</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>全图</source>
        <translation>Whole deck</translation>
    </message>
    <message>
        <source>传感器:</source>
        <translation>Sensors:</translation>
    </message>
    <message>
        <source>滚轮缩放, Ctrl+拖动平移, Esc 恢复全图</source>
        <translation>Wheel zooms, Ctrl+drag pans, Esc shows the whole deck</translation>
    </message>
    <message>
        <source>甲板</source>
        <translation>Decks</translation>
    </message>
    <message>
        <source>当前报警</source>
        <translation>Active alarms</translation>
    </message>
    <message>
        <source>事件记录</source>
        <translation>Event log</translation>
    </message>
    <message>
        <source>已连接数据服务器 %1, 已订阅全部测点</source>
        <translation>Connected to data server %1, subscribed to all data points</translation>
    </message>
    <message>
        <source>与数据服务器 %1 的连接已断开</source>
        <translation>Connection to data server %1 lost</translation>
    </message>
    <message>
        <source>未连接数据服务器 %1, %2 秒后重连</source>
        <translation>Not connected to data server %1, reconnecting in %2 s</translation>
    </message>
    <message>
        <source>确认报警 %1</source>
        <translation>Acknowledged alarm %1</translation>
    </message>
    <message>
        <source>确认报警 %1 失败: 未连接数据服务器</source>
        <translation>Acknowledging alarm %1 failed: not connected to the data server</translation>
    </message>
    <message>
        <source>报警: %1 %2 %3 (%4)</source>
        <translation>Alarm: %1 %2 %3 (%4)</translation>
    </message>
    <message>
        <source>报警消除: %1 (%2)</source>
        <translation>Alarm cleared: %1 (%2)</translation>
    </message>
    <message>
        <source>已连接 %1</source>
        <translation>Connected to %1</translation>
    </message>
    <message>
        <source>未连接数据服务器 %1</source>
        <translation>Not connected to data server %1</translation>
    </message>
    <message>
        <source>消音</source>
        <translation>Silence</translation>
    </message>
    <message>
        <source>显示%1, 解除抑制</source>
        <translation>Showing %1, alarms no longer suppressed</translation>
    </message>
    <message>
        <source>隐藏%1, 其报警被抑制</source>
        <translation>Hiding %1, its alarms are suppressed</translation>
    </message>
    <message>
        <source>滚轮缩放, Ctrl+拖动平移, Esc 恢复全图, 单击传感器看详情</source>
        <translation>Wheel zooms, Ctrl+drag pans, Esc shows the whole deck, click a sensor for its detail</translation>
    </message>
    <message>
        <source>与数据服务器 %1 的连接已断开, 画面数据不再实时</source>
        <translation>Connection to the data server %1 lost, the values shown are no longer live</translation>
    </message>
    <message>
        <source>报警: %1 %2 %3 %4 (%5)%6</source>
        <translation>Alarm: %1 %2 %3 %4 (%5)%6</translation>
    </message>
    <message>
        <source> [首出]</source>
        <translation> [first out]</translation>
    </message>
    <message>
        <source>报警消除: %1 %2 (%3)</source>
        <translation>Alarm cleared: %1 %2 (%3)</translation>
    </message>
    <message>
        <source>搁置到期, 恢复报警: %1</source>
        <translation>Shelving expired, alarm back: %1</translation>
    </message>
    <message>
        <source>%1 条报警未能确认 (%2): 未连接数据服务器, 确认未送出, 报警仍未确认</source>
        <translation>%1 alarm(s) could not be acknowledged (%2): not connected to the data server, the acknowledgement was not sent, the alarms stay unacknowledged</translation>
    </message>
    <message>
        <source>所选范围内没有待确认的报警</source>
        <translation>Nothing to acknowledge there</translation>
    </message>
    <message>
        <source>请先在列表中选择要搁置的报警</source>
        <translation>Select the alarms to shelve in the list first</translation>
    </message>
    <message>
        <source>搁置: %1</source>
        <translation>Shelve: %1</translation>
    </message>
    <message>
        <source>搁置报警 %1 %2 分钟, 原因: %3</source>
        <translation>Shelved %1 for %2 min, reason: %3</translation>
    </message>
    <message>
        <source>解除搁置 %1</source>
        <translation>Unshelved %1</translation>
    </message>
    <message>
        <source>消音 (报警未确认, %1 秒后再次鸣响)</source>
        <translation>Silenced (alarms still unacknowledged, sounding again in %1 s)</translation>
    </message>
    <message>
        <source>此操作需要操作员登录 (查看报警和消音无需登录)</source>
        <translation>This action needs an operator logged in (viewing alarms and silencing need none)</translation>
    </message>
    <message>
        <source>长时间未操作, 操作已锁定: 请重新登录</source>
        <translation>Actions locked after inactivity: please log in again</translation>
    </message>
    <message>
        <source>操作员 %1 的角色不允许此操作</source>
        <translation>Operator %1's role does not allow this action</translation>
    </message>
</context>
<context>
    <name>OutlineCheck</name>
    <message>
        <source>新轮廓超出了船体</source>
        <translation>The new outline leaves the hull</translation>
    </message>
    <message>
        <source>新轮廓与舱室 %1 重叠</source>
        <translation>The new outline overlaps compartment %1</translation>
    </message>
</context>
<context>
    <name>TlsOptions</name>
    <message>
        <source>用TLS连接数据服务器, 只信任该PEM文件中的证书颁发机构。</source>
        <translation>Connect to the data server with TLS, trusting only the certificate authorities in this PEM file.</translation>
    </message>
    <message>
        <source>服务器要求时出示的本控制台PEM证书。</source>
        <translation>This console's PEM certificate, presented when the server asks for one.</translation>
    </message>
    <message>
        <source>--tls-cert 证书的PEM私钥(未加密)。</source>
        <translation>PEM private key of the --tls-cert certificate (not encrypted).</translation>
    </message>
    <message>
        <source>--tls-cert 和 --tls-key 需要 --tls-ca</source>
        <translation>--tls-cert and --tls-key need --tls-ca</translation>
    </message>
    <message>
        <source>--tls-cert 和 --tls-key 需同时给出</source>
        <translation>--tls-cert and --tls-key go together</translation>
    </message>
    <message>
        <source>%1 %2: 无法读取</source>
        <translation>%1 %2: cannot be read</translation>
    </message>
    <message>
        <source>%1 %2: 其中没有PEM证书</source>
        <translation>%1 %2: no PEM certificate in it</translation>
    </message>
    <message>
        <source>%1 %2: 其中没有未加密的PEM私钥</source>
        <translation>%1 %2: no unencrypted PEM private key in it</translation>
    </message>
</context>
<context>
    <name>ValueVerifier</name>
    <message>
        <source>拒绝了 %1 的未签名数值</source>
        <translation>Refused an unsigned value of %1</translation>
    </message>
    <message>
        <source>拒绝了未知控制台 &quot;%1&quot; 的数值</source>
        <translation>Refused a value from unknown console &quot;%1&quot;</translation>
    </message>
    <message>
        <source>拒绝了冒充控制台 &quot;%1&quot; 的数值</source>
        <translation>Refused a value posing as console &quot;%1&quot;</translation>
    </message>
    <message>
        <source>拒绝了控制台 &quot;%1&quot; 签名无效的数值</source>
        <translation>Refused a value from console &quot;%1&quot; with an invalid signature</translation>
    </message>
    <message>
        <source>拒绝了控制台 &quot;%1&quot; 时间过旧的数值</source>
        <translation>Refused a value from console &quot;%1&quot; with a time too far in the past</translation>
    </message>
    <message>
        <source>拒绝了控制台 &quot;%1&quot; 时间在未来的数值</source>
        <translation>Refused a value from console &quot;%1&quot; with a time in the future</translation>
    </message>
    <message>
        <source>拒绝了控制台 &quot;%1&quot; 重放的旧数值</source>
        <translation>Refused an older value of console &quot;%1&quot; played again</translation>
    </message>
</context>
<context>
    <name>StationSecurity</name>
    <message>
        <source>认证需要船舶密钥文件(--keys)、本控制台私钥(--secret-key)和操作员账户文件(--accounts)三者齐全</source>
        <translation>Authentication needs the ship keys file (--keys), this console's secret key (--secret-key) and the accounts file (--accounts), all three</translation>
    </message>
    <message>
        <source>没有操作员账户文件 %1</source>
        <translation>No accounts file %1</translation>
    </message>
    <message>
        <source>控制台名称 &quot;%1&quot; 与私钥的控制台 &quot;%2&quot; 不符</source>
        <translation>Console name &quot;%1&quot; is not the secret key's console &quot;%2&quot;</translation>
    </message>
    <message>
        <source>控制台名称 &quot;%1&quot; 无法签名: 最多 %2 字节(GBK), 不含 | 和控制字符</source>
        <translation>Console name &quot;%1&quot; cannot sign: at most %2 bytes (GBK), without | and control characters</translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>操作员登录</source>
        <translation>Operator log-in</translation>
    </message>
    <message>
        <source>本系统仅供授权船员进行损管监控。登录后的操作均以您的名义记录并审计。</source>
        <translation>This system is for damage-control monitoring by authorised crew only. Actions after log-in are recorded and audited in your name.</translation>
    </message>
    <message>
        <source>操作员:</source>
        <translation>Operator:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>该账户因多次密码错误已被暂时锁定, 请 %1 分钟后再试</source>
        <translation>This account is locked after repeated wrong passwords; try again in %1 minutes</translation>
    </message>
    <message>
        <source>操作员名称或密码错误</source>
        <translation>Wrong operator name or password</translation>
    </message>
</context>
<context>
    <name>OperatorBar</name>
    <message>
        <source>未认证运行: 无船舶密钥, 共享数值未签名, 操作无需登录</source>
        <translation>Unauthenticated: no ship keys, shared values unsigned, actions need no log-in</translation>
    </message>
    <message>
        <source>登录...</source>
        <translation>Log in...</translation>
    </message>
    <message>
        <source>注销</source>
        <translation>Log out</translation>
    </message>
    <message>
        <source>未登录 (可查看报警和消音)</source>
        <translation>Nobody logged in (alarms can be viewed and silenced)</translation>
    </message>
    <message>
        <source>操作员 %1 (长时间未操作, 已锁定)</source>
        <translation>Operator %1 (locked after inactivity)</translation>
    </message>
    <message>
        <source>操作员 %1</source>
        <translation>Operator %1</translation>
    </message>
</context>
<context>
    <name>AccountsDialog</name>
    <message>
        <source>查看员</source>
        <translation>Viewer</translation>
    </message>
    <message>
        <source>值班员</source>
        <translation>Watchkeeper</translation>
    </message>
    <message>
        <source>高级船员</source>
        <translation>Officer</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operators</translation>
    </message>
    <message>
        <source>管理操作员账户...</source>
        <translation>Manage operator accounts...</translation>
    </message>
    <message>
        <source>操作员账户</source>
        <translation>Operator accounts</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>角色</source>
        <translation>Role</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>至少 %1 个字符</source>
        <translation>At least %1 characters</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>操作员 %1 已存在</source>
        <translation>Operator %1 already exists</translation>
    </message>
    <message>
        <source>更改角色</source>
        <translation>Change role</translation>
    </message>
    <message>
        <source>设置新密码</source>
        <translation>Set new password</translation>
    </message>
    <message>
        <source>解除锁定</source>
        <translation>Unlock</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>操作员:</source>
        <translation>Operator:</translation>
    </message>
    <message>
        <source>角色:</source>
        <translation>Role:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>请输入操作员名称</source>
        <translation>Enter an operator name</translation>
    </message>
    <message>
        <source>没有操作员 %1</source>
        <translation>No operator %1</translation>
    </message>
    <message>
        <source>多次密码错误, 已锁定</source>
        <translation>Locked after repeated wrong passwords</translation>
    </message>
    <message>
        <source>已完成, 已记入审计记录</source>
        <translation>Done, recorded in the audit trail</translation>
    </message>
</context>
</TS>
